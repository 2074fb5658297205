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
