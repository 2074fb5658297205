#pragma once

#include "ui/model/Control.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>

namespace vindle {

// A read-only display of text lines, newest on top, with a vertical scroll
// bar. It keeps the newest `capacity` lines; older ones fall off the bottom,
// so a display that runs for days holds a bounded amount of text.
//
// Lines are collected as they are added and reported to renderers in
// batches: flush() notifies once for everything added since the last flush.
class LineDisplay : public Control
{
public:
    static constexpr std::size_t kDefaultCapacity = 5000;

    LineDisplay(std::string name, int index, Frame* parent,
                std::size_t capacity = kDefaultCapacity);

    // Puts a line on top.
    void addLine(std::string line);
    // Shows `lines` (newest first, at most `capacity`) in place of every line
    // kept, the same lines written another way; renderers hear of it at
    // once and draw the whole display again.
    void replaceLines(std::deque<std::string> lines);
    // Counts replaceLines(): a renderer that drew another count draws all.
    std::uint64_t replacements() const { return replacements_; }

    // Lines marked for the person to see (what a search found): `count`
    // lines, the newest of them `index` lines from the top.
    struct Marked
    {
        std::size_t index = 0;
        std::size_t count = 0;
        friend bool operator==(const Marked&, const Marked&) = default;
    };
    // Marks the lines, which renderers scroll into view; nullopt unmarks.
    // The mark moves down with its lines as new ones come, and goes once
    // they fall off the bottom.
    void mark(std::optional<Marked> marked);
    std::optional<Marked> marked() const;
    // Tells the renderers about the lines added since the last flush, if any.
    void flush();

    // The lines kept, newest first.
    const std::deque<std::string>& lines() const { return lines_; }
    std::size_t capacity() const { return capacity_; }
    // Lines added since the display was made, kept or not; a renderer compares
    // it with the count it last drew to add only what is new.
    std::uint64_t linesAdded() const { return added_; }
    // Lines added but not yet reported by flush().
    std::size_t unflushed() const { return static_cast<std::size_t>(added_ - flushed_); }

    // The whole display as one text: each line followed by carriage return
    // and line feed, newest first.
    std::string text() const;

private:
    std::size_t capacity_;
    std::deque<std::string> lines_;
    std::uint64_t added_ = 0;
    std::uint64_t flushed_ = 0;
    std::uint64_t replacements_ = 0;
    // The marked lines as the count of lines added when the newest of them
    // came, and how many.
    std::optional<std::pair<std::uint64_t, std::size_t>> marked_;
};

} // namespace vindle
