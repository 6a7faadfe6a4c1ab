#include "board/notation.h"
#include "board/othellogame.h"
#include "board/perft.h"
#include "board/randomgame.h"

#include <gtest/gtest.h>

#include <array>

using namespace board;

namespace {

int sq(const char* text)
{
    return textToMoves(text)[0];
}

OthelloGame newGame()
{
    OthelloGame g;
    g.selectVariant(OthelloBoard::kVariantStandard);
    return g;
}

std::array<int, kCellCount> cellsOf(const OthelloBoard& b)
{
    std::array<int, kCellCount> cells;
    for (int s = 0; s < kCellCount; ++s)
        cells[s] = b.cell(s);
    return cells;
}

TEST(OthelloGame, PerftFromTheStart)
{
    const uint64_t expected[] = { 4, 12, 56, 244, 1396, 8200, 55092, 390216 };
    OthelloGame g = newGame();
    for (int depth = 1; depth <= 8; ++depth) {
        EXPECT_EQ(perft(g, kBlack, depth), expected[depth - 1]) << "depth " << depth;
        EXPECT_EQ(g.cursor(), 0);
        EXPECT_TRUE(g.samePosition(newGame()));
    }
}

TEST(OthelloGame, UndoRedoRestoreCellsAndCounts)
{
    OthelloGame g = newGame();
    const auto start = cellsOf(g);
    ASSERT_TRUE(g.playAndRecord(sq("F5"), kBlack));
    const auto afterOne = cellsOf(g);
    ASSERT_TRUE(g.playAndRecord(sq("D6"), kWhite));
    ASSERT_TRUE(g.playAndRecord(sq("C3"), kBlack));
    const auto afterThree = cellsOf(g);
    const int black = g.blackCount();

    EXPECT_EQ(g.undo()->square, sq("C3"));
    EXPECT_EQ(g.undo()->square, sq("D6"));
    EXPECT_EQ(cellsOf(g), afterOne);
    EXPECT_EQ(g.undo()->square, sq("F5"));
    EXPECT_EQ(g.undo(), nullptr);
    EXPECT_EQ(cellsOf(g), start);
    EXPECT_EQ(g.blackCount(), 2);
    EXPECT_EQ(g.whiteCount(), 2);
    EXPECT_EQ(g.current(), nullptr);

    EXPECT_EQ(g.redo()->square, sq("F5"));
    EXPECT_EQ(g.redo()->square, sq("D6"));
    EXPECT_EQ(g.redo()->square, sq("C3"));
    EXPECT_EQ(g.redo(), nullptr);
    EXPECT_EQ(cellsOf(g), afterThree);
    EXPECT_EQ(g.blackCount(), black);
    EXPECT_EQ(g.current()->square, sq("C3"));

    // A new move after an undo drops the redo tail.
    g.undo();
    g.undo();
    ASSERT_TRUE(g.playAndRecord(sq("F6"), kWhite));
    EXPECT_EQ(g.redo(), nullptr);
    EXPECT_EQ(g.length(), 2);
    EXPECT_EQ(movesToText(g.moves()), "F5F6");
}

TEST(OthelloGame, IllegalMoveLeavesTheHistory)
{
    OthelloGame g = newGame();
    g.playAndRecord(sq("F5"), kBlack);
    g.undo();
    EXPECT_EQ(g.playAndRecord(sq("A1"), kWhite), nullptr);
    EXPECT_EQ(g.playAndRecord(200, kWhite), nullptr);
    EXPECT_EQ(g.length(), 1);
    EXPECT_EQ(g.cursor(), 0);
}

TEST(OthelloGame, MovesIncludeTheRedoTailAndTruncateKeepsAppliedMoves)
{
    OthelloGame g = newGame();
    g.replay(textToMoves("F5D6C3D3C4"));
    g.undo();
    g.undo();
    EXPECT_EQ(movesToText(g.moves()), "F5D6C3D3C4");
    g.truncate(4);
    EXPECT_EQ(g.length(), 4);
    g.truncate(1); // below the cursor: applied moves stay
    EXPECT_EQ(g.length(), 3);
    g.truncate(99);
    EXPECT_EQ(g.length(), 3);
    EXPECT_EQ(g.entry(3), nullptr);
    EXPECT_EQ(g.entry(-1), nullptr);
    EXPECT_EQ(g.entry(2)->square, sq("C3"));
}

TEST(OthelloGame, ResetBlocksEverything)
{
    OthelloGame g = newGame();
    g.replay(textToMoves("F5D6"));
    g.reset();
    EXPECT_EQ(g.cursor(), 0);
    EXPECT_EQ(g.length(), 0);
    EXPECT_EQ(g.discCount(), 0);
    EXPECT_EQ(g.cell(sq("D4")), kBlocked);
    EXPECT_EQ(g.playAndRecord(sq("F5"), kBlack), nullptr);
}

struct ReplayCase {
    const char* moves;
    int applied;
    const char* position; // moves that give the expected position
};

class OthelloGameReplay : public testing::TestWithParam<ReplayCase> { };

TEST_P(OthelloGameReplay, AppliesMovesUntilOneIsIllegalForBoth)
{
    const ReplayCase& c = GetParam();
    OthelloGame g = newGame();
    EXPECT_EQ(g.replay(textToMoves(c.moves)), c.applied);
    OthelloGame expected = newGame();
    expected.replay(textToMoves(c.position));
    EXPECT_TRUE(g.samePosition(expected));
}

INSTANTIATE_TEST_SUITE_P(Lists, OthelloGameReplay,
    testing::Values(ReplayCase { "F5D6C3D3C4", 5, "F5D6C3D3C4" },
        ReplayCase { "F5D6A1C3", 2, "F5D6" }, ReplayCase { "", 0, "" },
        ReplayCase { "F5F5", 1, "F5" }));

TEST(OthelloGame, ReplayPlaysThroughAPass)
{
    // Black has no move before the ninth move, so white plays twice in a row.
    const MoveList moves = textToMoves("E6F6C4E7E8D8G6F8E3F3");
    OthelloGame g = newGame();
    EXPECT_EQ(g.replay(moves), 10);
    EXPECT_EQ(g.entry(7)->colour, kWhite);
    EXPECT_EQ(g.entry(8)->colour, kWhite);
    EXPECT_EQ(g.entry(9)->colour, kBlack);
}

TEST(OthelloGame, ReplayOfArbitraryBytesStaysInBounds)
{
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        std::string bytes(60, '\0');
        for (char& b : bytes)
            b = static_cast<char>(rng() % 256);
        OthelloGame g = newGame();
        const int applied = g.replay(MoveList::fromBytes(bytes));
        EXPECT_EQ(applied, g.cursor());
        EXPECT_EQ(g.discCount(), 4 + applied);
    }
}

TEST(OthelloGame, SideToMove)
{
    OthelloGame g = newGame();
    EXPECT_EQ(g.sideToMove(), kBlack);
    g.replay(textToMoves("F5"));
    EXPECT_EQ(g.sideToMove(), kWhite);
    OthelloGame passing = newGame();
    passing.replay(textToMoves("E6F6C4E7E8D8G6F8"));
    EXPECT_EQ(passing.sideToMove(), kWhite);
}

TEST(OthelloGame, RandomGamesReplayToTheirEnd)
{
    std::mt19937 rng(11);
    for (int i = 0; i < 300; ++i) {
        const MoveList moves = randomGame(rng);
        OthelloGame g = newGame();
        ASSERT_EQ(g.replay(moves), moves.size()) << movesToText(moves);
        EXPECT_EQ(g.moves(), moves);
        if (moves.size() < MoveList::kMaxMoves) {
            EXPECT_TRUE(g.gameOver()) << movesToText(moves);
        }
    }
}

} // namespace
