#include "qt/TwipScale.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace vindle {

namespace {

// Line height and average character width, in pixels, of the dialog font the
// designs were drawn with.
constexpr double kDesignLineHeight = 13.0;
constexpr double kDesignCharWidth = 5.0;

} // namespace

TwipScale TwipScale::forFont(const QFont& font)
{
    const QFontMetricsF metrics(font);
    return TwipScale(std::max({1.0, metrics.height() / kDesignLineHeight,
                               metrics.averageCharWidth() / kDesignCharWidth}));
}

int TwipScale::toPixels(int twips) const
{
    return static_cast<int>(std::lround(twips * factor_ / kTwipsPerPixel));
}

QRect TwipScale::toPixels(const Rect& rect, const QSize& natural) const
{
    const int width = rect.width > 0 ? toPixels(rect.width) : natural.width();
    const int height = rect.height > 0 ? toPixels(rect.height) : natural.height();
    return {toPixels(rect.left), toPixels(rect.top), width, height};
}

} // namespace vindle
