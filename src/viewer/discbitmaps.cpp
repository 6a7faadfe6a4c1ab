#include "viewer/discbitmaps.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// The disc is a circle of radius 10 around the point (14, 13) of the square, measured to pixel
// centres; its outermost pixels, beyond radius 9, form the green fringe.
constexpr double centreX = 14.0;
constexpr double centreY = 13.0;
constexpr double radius = 10.0;
constexpr double fringeRadius = 9.0;
// The pixel whose shade is the disc's base colour, and how fast the shade falls away from the
// light that comes from the top left.
constexpr int shadeCentreX = 13;
constexpr int shadeCentreY = 12;
constexpr int shadeStep = 3;
const QRgb fringe = qRgb(33, 99, 33);

double distanceSquared(int x, int y)
{
    const double dx = x + 0.5 - centreX;
    const double dy = y + 0.5 - centreY;
    return dx * dx + dy * dy;
}

QImage filled(int side, QRgb colour)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage disc(int base)
{
    QImage image = filled(DiscBitmaps::discSide, qRgb(0, 0, 0));
    for (int y = 0; y < DiscBitmaps::discSide; ++y) {
        for (int x = 0; x < DiscBitmaps::discSide; ++x) {
            if (!DiscBitmaps::onDisc(x, y))
                continue;
            if (distanceSquared(x, y) > fringeRadius * fringeRadius) {
                image.setPixel(x, y, fringe);
                continue;
            }
            const int shade
                = std::clamp(base - shadeStep * ((x - shadeCentreX) + (y - shadeCentreY)), 0, 255);
            image.setPixel(x, y, qRgb(shade, shade, shade));
        }
    }
    return image;
}

QImage cross(QRgb line, QRgb ground)
{
    QImage image = filled(DiscBitmaps::markSide, ground);
    const int middle = DiscBitmaps::markSide / 2;
    for (int i = 0; i < DiscBitmaps::markSide; ++i) {
        image.setPixel(middle, i, line);
        image.setPixel(i, middle, line);
    }
    return image;
}

} // namespace

bool DiscBitmaps::onDisc(int x, int y)
{
    return distanceSquared(x, y) <= radius * radius;
}

DiscBitmaps::DiscBitmaps()
    : m_blackDisc(disc(52))
    , m_whiteDisc(disc(204))
    , m_discMask(filled(discSide, qRgb(255, 255, 255)))
    , m_mark(cross(qRgb(255, 0, 0), qRgb(0, 0, 0)))
    , m_markMask(cross(qRgb(0, 0, 0), qRgb(255, 255, 255)))
{
    for (int y = 0; y < discSide; ++y) {
        for (int x = 0; x < discSide; ++x) {
            if (onDisc(x, y))
                m_discMask.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
}

const DiscBitmaps& DiscBitmaps::instance()
{
    static DiscBitmaps* bitmaps = nullptr;
    if (!bitmaps) {
        bitmaps = new DiscBitmaps;
        qAddPostRoutine([] {
            delete bitmaps;
            bitmaps = nullptr;
        });
    }
    return *bitmaps;
}
