#include "ui/dialogunits.h"

#include <gtest/gtest.h>

TEST(DialogUnits, BaseUnitsOfSevenByThirteen)
{
    using namespace dialogunits;
    EXPECT_EQ(toPixels(QPoint(4, 8)), QPoint(7, 13));
    EXPECT_EQ(toPixels(QSize(0, 0)), QSize(0, 0));
    // Halves round up, as the dialog manager does: 1 * 7 / 4 = 1.75, 3 * 13 / 8 = 4.875.
    EXPECT_EQ(toPixels(QPoint(1, 3)), QPoint(2, 5));
    EXPECT_EQ(toPixels(QPoint(2, 4)), QPoint(4, 7));
    EXPECT_EQ(toPixels(QPoint(-2, -4)), QPoint(-4, -7));
    EXPECT_EQ(toPixelsX(137), 240);
}

TEST(DialogUnits, AdjacentRectanglesStayAdjacent)
{
    using dialogunits::toPixels;
    const QRect left = toPixels(3, 5, 21, 11);
    const QRect right = toPixels(24, 5, 21, 11);
    EXPECT_EQ(left.right() + 1, right.left());
    EXPECT_EQ(left.top(), right.top());
    const QRect below = toPixels(3, 16, 21, 11);
    EXPECT_EQ(left.bottom() + 1, below.top());
}
