#pragma once

#include "ui/model/Control.h"
#include "ui/model/Drawing.h"

#include <QFont>
#include <QRect>
#include <QSize>

namespace vindle {

// Turns the twip layouts of the window models into logical pixels, at
// kTwipsPerPixel with a small dialog font; a larger
// default font widens the whole layout in proportion, so that captions keep
// the room the design gave them. Qt scales logical pixels on high-DPI screens.
class TwipScale
{
public:
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
