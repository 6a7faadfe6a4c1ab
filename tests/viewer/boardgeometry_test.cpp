#include "numbergrid.h"

#include "viewer/boardgeometry.h"
#include "viewer/sharedcolours.h"
#include "viewer/sheetnumbercolour.h"

#include <gtest/gtest.h>

namespace {

TEST(BoardGeometry, SquaresLieWhereTheGridSaysAndClicksAreTakenThreePixelsUpLeft)
{
    EXPECT_EQ(BoardGeometry::squareLeft(0), 12);
    EXPECT_EQ(BoardGeometry::squareTop(7), 12 + 7 * 27);
    EXPECT_EQ(BoardGeometry::playingEnd, 228);

    struct Case {
        int x, y;
        std::optional<BoardSquare> hit;
    };
    const Case cases[] = {
        { 15, 15, BoardSquare { 0, 0 } }, // the picture's (12, 12): A1
        { 40, 15, BoardSquare { 1, 0 } }, // the picture's (37, 12), drawn in A1, hits B1
        { 38, 15, BoardSquare { 0, 0 } },
        { 39, 15, BoardSquare { 1, 0 } },
        { 5, 5, BoardSquare { 0, 0 } }, // the margins left of and above the board
        { 0, 0, BoardSquare { 0, 0 } },
        { -14, 20, BoardSquare { 0, 0 } }, // -26 / 27 is still 0, but -27 / 27 is not
        { -15, 20, std::nullopt },
        { 240, 40, std::nullopt },
        { 227, 227, BoardSquare { 7, 7 } },
        { 228, 100, std::nullopt }, // (228 - 12) / 27 = 8
        { 100, 228, std::nullopt },
        { 12 + 27 * 5 + 26, 12 + 27 * 4, BoardSquare { 5, 4 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(BoardGeometry::hitTest(c.x, c.y), c.hit);
    }
}

TEST(SharedColours, TenColoursInTheirFixedOrder)
{
    EXPECT_EQ(sharedRgb(SharedColour::White), (Rgb { 255, 255, 255 }));
    EXPECT_EQ(sharedRgb(SharedColour::Grey), (Rgb { 192, 192, 192 }));
    EXPECT_EQ(sharedRgb(SharedColour::NumberRed), (Rgb { 255, 0, 0 }));
    EXPECT_EQ(sharedRgb(SharedColour::NumberBlue), (Rgb { 0, 0, 255 }));
    EXPECT_EQ(sharedRgb(SharedColour::BoardGreen), (Rgb { 66, 132, 66 }));
    EXPECT_EQ(sharedRgb(SharedColour::DarkGreen), (Rgb { 0, 66, 0 }));
    EXPECT_EQ(sharedRgb(SharedColour::LightGreen), (Rgb { 99, 173, 99 }));
    EXPECT_EQ(static_cast<int>(SharedColour::LightGreen), 9);
}

TEST(SheetNumberColour, RedForDuplicatesThenBlackWhileReplayedElseBlue)
{
    // F5 D6 C3 played cleanly; then 5 on two squares (4 missing), 7 alone beyond the gap.
    const MoveNumberGrid clean = gridOf({ { "F5", 1 }, { "D6", 2 }, { "C3", 3 } });
    const MoveNumberGrid gaps
        = gridOf({ { "F5", 1 }, { "D6", 2 }, { "C3", 3 }, { "D3", 5 }, { "C4", 5 }, { "F4", 7 } });
    // 2 on two squares stops the replay after 1; 3 then lies beyond it.
    const MoveNumberGrid twice = gridOf({ { "F5", 1 }, { "D6", 2 }, { "E6", 2 }, { "C3", 3 } });
    // A move no side may play (A1 as move 1) stops the replay at once.
    const MoveNumberGrid illegal = gridOf({ { "A1", 1 } });

    struct Case {
        const MoveNumberGrid* grid;
        int n;
        SharedColour colour;
    };
    const Case cases[] = {
        { &clean, 1, SharedColour::NumberBlack }, { &clean, 3, SharedColour::NumberBlack },
        { &clean, 4, SharedColour::NumberBlue }, // not on the sheet: beyond the replay
        { &gaps, 3, SharedColour::NumberBlack }, { &gaps, 5, SharedColour::NumberRed },
        { &gaps, 7, SharedColour::NumberBlue }, { &twice, 1, SharedColour::NumberBlack },
        { &twice, 2, SharedColour::NumberRed }, { &twice, 3, SharedColour::NumberBlue },
        { &illegal, 1, SharedColour::NumberBlue },
        { &clean, 99, SharedColour::NumberBlue }, // beyond any game
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(sheetNumberColour(*c.grid, c.n), c.colour);
    }
    EXPECT_EQ(clean.replayed(), 3);
    EXPECT_EQ(gaps.replayed(), 3);
}

} // namespace
