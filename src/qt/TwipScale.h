#pragma once

#include "ui/model/Control.h"

#include <QFont>
#include <QRect>
#include <QSize>

namespace vindle {

// Turns the twip layouts of the window models into logical pixels. The
// designs assume 15 twips to a pixel with a small dialog font; a larger
// default font widens the whole layout in proportion, so that captions keep
// the room the design gave them. Qt scales logical pixels on high-DPI screens.
class TwipScale
{
public:
    static constexpr double kTwipsPerPixel = 15.0;

    explicit TwipScale(double factor = 1.0) : factor_(factor) {}
    // The scale for windows drawn in `font`.
    static TwipScale forFont(const QFont& font);

    double factor() const { return factor_; }
    int toPixels(int twips) const;
    // A rectangle of the design; a width or height of 0 takes that of `natural`.
    QRect toPixels(const Rect& rect, const QSize& natural) const;

private:
    double factor_;
};

} // namespace vindle
