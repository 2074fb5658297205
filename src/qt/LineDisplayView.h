#pragma once

#include "ui/model/LineDisplay.h"

#include <QPlainTextEdit>
#include <cstdint>

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
    void redrawAll();
    void trimToCapacity();

    const LineDisplay& display_;
    std::uint64_t shown_ = 0;
};

} // namespace vindle
