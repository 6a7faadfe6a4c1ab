#include "ui/dialogunits.h"

namespace dialogunits {
namespace {

// value * numerator / denominator rounded half away from zero.
int scale(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(
        product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

} // namespace

int toPixelsX(int x)
{
    return scale(x, baseX, 4);
}

int toPixelsY(int y)
{
    return scale(y, baseY, 8);
}

QPoint toPixels(QPoint p)
{
    return { toPixelsX(p.x()), toPixelsY(p.y()) };
}

QSize toPixels(QSize s)
{
    return { toPixelsX(s.width()), toPixelsY(s.height()) };
}

QRect toPixels(int x, int y, int width, int height)
{
    const int left = toPixelsX(x);
    const int top = toPixelsY(y);
    return QRect(left, top, toPixelsX(x + width) - left, toPixelsY(y + height) - top);
}

} // namespace dialogunits
