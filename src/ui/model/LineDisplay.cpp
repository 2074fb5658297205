#include "ui/model/LineDisplay.h"

#include <stdexcept>

namespace vindle {

LineDisplay::LineDisplay(std::string name, int index, Frame* parent, std::size_t capacity)
    : Control(ControlKind::LineDisplay, std::move(name), index, parent, std::string()),
      capacity_(capacity)
{
    if (capacity_ == 0)
        throw std::invalid_argument("line display " + this->name() + ": no room for a line");
}

void LineDisplay::addLine(std::string line)
{
    lines_.push_front(std::move(line));
    if (lines_.size() > capacity_)
        lines_.pop_back();
    ++added_;
}

void LineDisplay::replaceLines(std::deque<std::string> lines)
{
    if (lines.size() > capacity_)
        lines.resize(capacity_);
    // The mark stays on the lines it marked, written anew.
    const auto marked = this->marked();
    lines_ = std::move(lines);
    flushed_ = added_;
    ++replacements_;
    if (marked && marked->index + marked->count <= lines_.size())
        marked_ = {{added_ - marked->index, marked->count}};
    else
        marked_.reset();
    notifyListeners();
}

void LineDisplay::mark(std::optional<Marked> marked)
{
    if (marked && (marked->count == 0 || marked->index + marked->count > lines_.size()))
        marked.reset();
    const auto before = this->marked();
    marked_.reset();
    if (marked)
        marked_ = {{added_ - marked->index, marked->count}};
    if (before != marked)
        notifyListeners();
}

std::optional<LineDisplay::Marked> LineDisplay::marked() const
{
    if (!marked_)
        return std::nullopt;
    const std::uint64_t index = added_ - marked_->first;
    if (index + marked_->second > lines_.size())
        return std::nullopt;
    return Marked{static_cast<std::size_t>(index), marked_->second};
}

void LineDisplay::flush()
{
    if (flushed_ == added_)
        return;
    flushed_ = added_;
    notifyListeners();
}

std::string LineDisplay::text() const
{
    std::string all;
    for (const std::string& line : lines_) {
        all += line;
        all += "\r\n";
    }
    return all;
}

} // namespace vindle
