#pragma once

#include "ui/model/LineDisplay.h"

#include <QPlainTextEdit>
#include <cstdint>
#include <optional>
#include <utility>

namespace vindle {

// Draws a LineDisplay, newest line on top, adding only the lines that arrived
// since the last refresh and trimming the oldest beyond the display's capacity.
class LineDisplayView final : public QPlainTextEdit
{
public:
    LineDisplayView(const LineDisplay& display, QWidget* parent);

    // Brings the text up to date with the display.
    void refresh();

private:
    // Adds the lines that came since; true when it drew them all again.
    bool addFresh();
    void redrawAll();
    void trimToCapacity();
    // Selects the lines the display marks and scrolls them into view.
    void showMarked(bool redrawn);

    const LineDisplay& display_;
    std::uint64_t shown_ = 0;
    std::uint64_t replacements_ = 0;
    // The lines selected last: the count of lines added when the newest of
    // them came, and how many.
    std::optional<std::pair<std::uint64_t, std::size_t>> marked_;
};

} // namespace vindle
