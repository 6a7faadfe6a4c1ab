#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Window layouts are designed in dialog units of a font whose average character is 7 x 13 pixels:
// a horizontal unit is a quarter of 7 pixels and a vertical unit an eighth of 13. Every window
// converts its designed positions here, rounding to the nearest pixel as dialog templates do.
namespace dialogunits {

inline constexpr int baseX = 7;
inline constexpr int baseY = 13;

int toPixelsX(int x);
int toPixelsY(int y);
QPoint toPixels(QPoint p);
QSize toPixels(QSize s);
// Converts the corners, so that adjacent rectangles stay adjacent in pixels.
QRect toPixels(int x, int y, int width, int height);

} // namespace dialogunits
