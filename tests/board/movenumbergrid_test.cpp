#include "board/movenumbergrid.h"
#include "board/notation.h"
#include "board/squares.h"

#include <gtest/gtest.h>

using namespace board;

namespace {

TEST(MoveNumberGrid, ClearMarksTheStartingDiscs)
{
    MoveNumberGrid grid;
    grid.set(0, 0, 5);
    grid.clear();
    EXPECT_EQ(grid.at(3, 3), MoveNumberGrid::kInitialWhite); // D4
    EXPECT_EQ(grid.at(4, 4), MoveNumberGrid::kInitialWhite); // E5
    EXPECT_EQ(grid.at(3, 4), MoveNumberGrid::kInitialBlack); // E4
    EXPECT_EQ(grid.at(4, 3), MoveNumberGrid::kInitialBlack); // D5
    EXPECT_EQ(grid.at(0, 0), 0);
    EXPECT_EQ(grid.replayed(), 0);
}

TEST(MoveNumberGrid, LoadNumbersTheMovesAndReplaysThem)
{
    MoveNumberGrid grid;
    grid.load(textToMoves("F5D6C3D3C4"));
    EXPECT_EQ(grid.at(4, 5), 1); // F5
    EXPECT_EQ(grid.at(3, 2), 5); // C4
    EXPECT_EQ(grid.move(2), squareAt(5, 3));
    EXPECT_EQ(grid.counter(3), 1);
    OthelloGame game;
    EXPECT_EQ(grid.replayOnto(game), kWhite);
    EXPECT_EQ(grid.replayed(), 5);
    EXPECT_EQ(movesToText(game.moves()), "F5D6C3D3C4");
}

TEST(MoveNumberGrid, ANumberOnTwoSquaresEndsTheReplay)
{
    MoveNumberGrid grid;
    grid.load(textToMoves("F5D6C3D3C4F4C5B3C2"));
    grid.set(0, 0, 7); // a second 7 on A1
    grid.rebuild();
    EXPECT_EQ(grid.counter(7), 2);
    EXPECT_EQ(grid.move(7), 0);
    OthelloGame game;
    grid.replayOnto(game);
    EXPECT_EQ(grid.replayed(), 6);

    grid.removeNumber(7);
    EXPECT_EQ(grid.at(0, 0), 0);
    EXPECT_EQ(grid.counter(7), 0);
    grid.set(2, 4, 7); // C5 back as the only 7
    grid.replayOnto(game);
    EXPECT_EQ(grid.replayed(), 9);
}

TEST(MoveNumberGrid, IllegalNumberedMoveEndsTheReplay)
{
    MoveNumberGrid grid;
    grid.set(4, 5, 1); // F5
    grid.set(0, 0, 2); // A1 is illegal for both sides
    grid.set(5, 3, 3);
    OthelloGame game;
    EXPECT_EQ(grid.replayOnto(game), kWhite);
    EXPECT_EQ(grid.replayed(), 1);
}

TEST(MoveNumberGrid, OutOfRangeArgumentsAreIgnored)
{
    MoveNumberGrid grid;
    grid.set(-1, 0, 3);
    grid.set(8, 8, 3);
    grid.set(0, 0, 300);
    grid.removeNumber(0);
    grid.removeNumber(61);
    grid.removeNumber(-5);
    EXPECT_EQ(grid.at(0, 0), 0);
    EXPECT_EQ(grid.at(9, 9), 0);
    EXPECT_EQ(grid.move(0), 0);
    EXPECT_EQ(grid.move(61), 0);
    EXPECT_EQ(grid.counter(100), 0);
    grid.load(MoveList::fromBytes("\x01\x05\x3d")); // two bytes off the board, then F5
    EXPECT_EQ(grid.at(4, 5), 3);
    EXPECT_EQ(grid.counter(1), 0);
}

} // namespace

namespace {

TEST(MoveNumberGrid, WriteTakesOnlyMoveNumbersOutsideTheCentre)
{
    const struct {
        int row, column, number;
        bool written;
        int value; // on the square afterwards
    } cases[] = {
        { 0, 0, 1, true, 1 },
        { 0, 0, 60, true, 60 },
        { 0, 0, 0, true, 0 },
        { 0, 0, 61, false, 9 },
        { 0, 0, -1, false, 9 },
        { 0, 0, 300, false, 9 },
        { 3, 3, 5, false, MoveNumberGrid::kInitialWhite },
        { 4, 3, 0, false, MoveNumberGrid::kInitialBlack },
        { 8, 0, 5, false, 0 },
    };
    for (const auto& c : cases) {
        MoveNumberGrid grid;
        grid.set(0, 0, 9);
        EXPECT_EQ(grid.write(c.row, c.column, c.number), c.written)
            << c.row << "," << c.column << " " << c.number;
        EXPECT_EQ(grid.at(c.row, c.column), c.value);
    }
}

TEST(MoveNumberGrid, EveryNumberAfterADuplicateOrAGapLiesBeyondTheReplay)
{
    MoveNumberGrid grid;
    grid.load(textToMoves("F5D6C3D3C4F4C5B3C2E6C6B4"));
    grid.write(0, 0, 5); // a second 5, on A1
    OthelloGame game;
    grid.replayOnto(game);
    EXPECT_EQ(grid.counter(5), 2);
    EXPECT_EQ(grid.replayed(), 4);
    EXPECT_EQ(game.moves().size(), 4);

    grid.write(0, 0, 0);
    grid.write(2, 2, 0); // C3, move 3, gone: a gap
    grid.replayOnto(game);
    EXPECT_EQ(grid.replayed(), 2);
}

} // namespace
