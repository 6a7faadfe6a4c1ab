#include "board/notation.h"
#include "board/othelloboard.h"

#include <gtest/gtest.h>

#include <vector>

using namespace board;

namespace {

int sq(const char* text)
{
    return textToMoves(text)[0];
}

OthelloBoard standardBoard()
{
    OthelloBoard b;
    b.selectVariant(OthelloBoard::kVariantStandard);
    return b;
}

std::vector<int> legalMoves(const OthelloBoard& b, int colour)
{
    std::vector<int> squares;
    for (int s = 0; s < kCellCount; ++s) {
        if (b.canPlay(s, colour))
            squares.push_back(s);
    }
    return squares;
}

int countCells(const OthelloBoard& b, int value)
{
    int n = 0;
    for (int s = 0; s < kCellCount; ++s)
        n += b.cell(s) == value;
    return n;
}

TEST(OthelloBoard, StartingPositionOn8x8)
{
    const OthelloBoard b = standardBoard();
    EXPECT_EQ(b.cell(sq("D4")), kWhite);
    EXPECT_EQ(b.cell(sq("E5")), kWhite);
    EXPECT_EQ(b.cell(sq("E4")), kBlack);
    EXPECT_EQ(b.cell(sq("D5")), kBlack);
    EXPECT_EQ(b.blackCount(), 2);
    EXPECT_EQ(b.whiteCount(), 2);
    EXPECT_EQ(countCells(b, kEmpty), 60);
    EXPECT_EQ(legalMoves(b, kBlack), (std::vector<int> { sq("D3"), sq("C4"), sq("F5"), sq("E6") }));
}

struct VariantCase {
    int code;
    int size;
    int playingSquares;
};

class OthelloBoardVariants : public testing::TestWithParam<VariantCase> { };

TEST_P(OthelloBoardVariants, SizeCornersAndCentre)
{
    const VariantCase& c = GetParam();
    OthelloBoard b;
    b.selectVariant(c.code);
    EXPECT_EQ(b.size(), c.size);
    EXPECT_EQ(countCells(b, kEmpty) + b.discCount(), c.playingSquares);
    const int h = c.size / 2 - 1;
    EXPECT_EQ(b.cell(squareAt(h, h)), kWhite);
    EXPECT_EQ(b.cell(squareAt(h, h + 1)), kBlack);
    EXPECT_EQ(legalMoves(b, kBlack).size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(Codes, OthelloBoardVariants,
    testing::Values(VariantCase { 0, 6, 36 }, VariantCase { 1, 8, 64 }, VariantCase { 2, 10, 88 },
        VariantCase { 3, 10, 100 }, VariantCase { 7, 8, 64 }, VariantCase { -1, 8, 64 }));

TEST(OthelloBoard, SizeIsClamped)
{
    OthelloBoard b;
    b.initialise(1, false);
    EXPECT_EQ(b.size(), 4);
    b.initialise(40, false);
    EXPECT_EQ(b.size(), 10);
    EXPECT_EQ(countCells(b, kEmpty) + b.discCount(), 100);
}

TEST(OthelloBoard, PlayF5FlipsE5)
{
    OthelloBoard b = standardBoard();
    EXPECT_EQ(b.play(sq("F5"), kBlack), 1);
    EXPECT_EQ(std::vector<int>(b.flips().begin(), b.flips().end()), std::vector<int> { sq("E5") });
    EXPECT_EQ(b.blackCount(), 4);
    EXPECT_EQ(b.whiteCount(), 1);
    EXPECT_EQ(b.cell(sq("F5")), kBlack);
}

TEST(OthelloBoard, FlipsFollowDirectionOrderNearestFirst)
{
    // Black plays D4 into two white discs in every direction, each pair closed by a black disc,
    // except upwards where a single white disc is not bracketed.
    OthelloBoard b = standardBoard();
    for (int s = kFirstSquare; s < kCellCount; ++s)
        b.setCell(s, kEmpty);
    const int centre = sq("D4");
    std::vector<int> expected;
    for (int d : kDirections) {
        b.setCell(centre + d, kWhite);
        if (d == -11)
            continue;
        b.setCell(centre + 2 * d, kWhite);
        b.setCell(centre + 3 * d, kBlack);
        expected.push_back(centre + d);
        expected.push_back(centre + 2 * d);
    }
    ASSERT_EQ(b.play(centre, kBlack), 14);
    EXPECT_EQ(std::vector<int>(b.flips().begin(), b.flips().end()), expected);
    EXPECT_EQ(b.cell(centre - 11), kWhite);
    EXPECT_EQ(b.blackCount(), 7 + 14 + 1);
    EXPECT_EQ(b.whiteCount(), 1);
}

struct IllegalCase {
    const char* what;
    int square;
    int colour;
};

class OthelloBoardIllegal : public testing::TestWithParam<IllegalCase> { };

TEST_P(OthelloBoardIllegal, ChangesNothing)
{
    const IllegalCase& c = GetParam();
    OthelloBoard b = standardBoard();
    const OthelloBoard before = b;
    EXPECT_FALSE(b.canPlay(c.square, c.colour));
    EXPECT_EQ(b.play(c.square, c.colour), 0);
    EXPECT_TRUE(b.samePosition(before));
    EXPECT_EQ(b.blackCount(), 2);
    EXPECT_EQ(b.whiteCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Moves, OthelloBoardIllegal,
    testing::Values(IllegalCase { "occupied", 12 + 11 * 3 + 3, kBlack },
        IllegalCase { "frame", 11, kBlack }, IllegalCase { "past the end", 133, kBlack },
        IllegalCase { "negative", -1, kBlack }, IllegalCase { "far away", 1 << 30, kBlack },
        IllegalCase { "no bracket", 12, kBlack }, IllegalCase { "colour 0", 12 + 11 * 4 + 5, 0 },
        IllegalCase { "colour 3", 12 + 11 * 4 + 5, 3 },
        IllegalCase { "colour -1", 12 + 11 * 4 + 5, -1 }));

TEST(OthelloBoard, SetCellRefusesTheFrameAndBadValues)
{
    OthelloBoard b = standardBoard();
    for (int s : { -5, 0, 11, 21, 22, 100, 122, 132, 133, 500 })
        b.setCell(s, kBlack);
    b.setCell(sq("A1"), 4);
    b.setCell(sq("A1"), -1);
    EXPECT_EQ(b.blackCount(), 2);
    EXPECT_EQ(countCells(b, kBlocked), kCellCount - 64);
    EXPECT_EQ(b.cell(-1), kBlocked);
    EXPECT_EQ(b.cell(1000), kBlocked);
    b.setCell(sq("E4"), kWhite);
    EXPECT_EQ(b.blackCount(), 1);
    EXPECT_EQ(b.whiteCount(), 3);
}

TEST(OthelloBoard, CornersRemovedOnOcto)
{
    OthelloBoard b;
    b.selectVariant(OthelloBoard::kVariantOcto);
    for (auto [row, column] : { std::pair { 0, 0 }, { 0, 1 }, { 1, 0 }, { 9, 8 }, { 8, 9 } })
        EXPECT_EQ(b.cell(squareAt(row, column)), kBlocked);
    EXPECT_EQ(b.cell(squareAt(1, 1)), kEmpty);
}

TEST(OthelloBoard, NoMoveAndGameOver)
{
    OthelloBoard b = standardBoard();
    EXPECT_FALSE(b.hasNoMove(kBlack));
    EXPECT_FALSE(b.gameOver());
    b.setCell(sq("D4"), kBlack);
    b.setCell(sq("E5"), kBlack);
    EXPECT_TRUE(b.hasNoMove(kWhite));
    EXPECT_TRUE(b.gameOver());
    EXPECT_TRUE(b.hasNoMove(7));
}

TEST(OthelloBoard, Load8x8CellsAndComparisons)
{
    std::array<uint8_t, 64> cells {};
    cells[0] = kBlack;
    cells[63] = kWhite;
    cells[10] = 9; // not a cell value: taken as empty
    OthelloBoard b;
    b.load8x8Cells(cells);
    EXPECT_EQ(b.cell(sq("A1")), kBlack);
    EXPECT_EQ(b.cell(sq("H8")), kWhite);
    EXPECT_EQ(b.cell(sq("C2")), kEmpty);
    EXPECT_EQ(b.cell(sq("D4")), kEmpty);
    EXPECT_EQ(b.discCount(), 2);

    const OthelloBoard start = standardBoard();
    EXPECT_FALSE(b.samePosition(start));
    EXPECT_TRUE(b.fewerDiscsThan(start));
    EXPECT_FALSE(b.moreDiscsThan(start));
    OthelloBoard more = start;
    more.play(sq("F5"), kBlack);
    EXPECT_TRUE(start.fewerDiscsThan(more));
    EXPECT_TRUE(more.moreDiscsThan(start));
    EXPECT_TRUE(start.samePosition(standardBoard()));
}

TEST(OthelloBoard, NewlyOccupiedSquares)
{
    const OthelloBoard start = standardBoard();
    OthelloBoard later = start;
    later.play(sq("F5"), kBlack);
    later.play(sq("D6"), kWhite);
    EXPECT_EQ(start.newlyOccupiedSquares(later), (std::vector<int> { sq("F5"), sq("D6") }));
    EXPECT_TRUE(start.newlyOccupiedSquares(start).empty());
    // A disc missing from the snapshot: it cannot follow from the board.
    later.setCell(sq("D4"), kEmpty);
    EXPECT_TRUE(start.newlyOccupiedSquares(later).empty());
}

} // namespace
