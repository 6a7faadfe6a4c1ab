#include "board/notation.h"
#include "board/othellogame.h"
#include "board/randomgame.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace board;

namespace {

int sq(const char* text)
{
    return textToMoves(text)[0];
}

OthelloGame gameAfter(const MoveList& moves)
{
    OthelloGame g;
    g.selectVariant(OthelloBoard::kVariantStandard);
    g.replay(moves);
    return g;
}

// The search step by step as the capture expects it, through the public operations only: the
// engine's own search must give the same answer and leave the same moves.
bool referenceReach(OthelloGame& g, std::span<const int> candidates, int colour,
    const OthelloBoard& target, int depth, bool passed)
{
    if (depth < 1)
        return g.samePosition(target);
    bool tried = false;
    for (int s : candidates) {
        if (g.cell(s) != kEmpty || !g.playAndRecord(s, colour))
            continue;
        tried = true;
        if (referenceReach(g, candidates, opponent(colour), target, depth - 1, false))
            return true;
        g.undo();
    }
    if (depth == 1 && tried) {
        for (int s : candidates) {
            if (g.cell(s) != kEmpty)
                continue;
            g.setCell(s, colour);
            const bool match = g.samePosition(target);
            g.setCell(s, kEmpty);
            return match && g.playAndRecord(s, colour);
        }
    }
    if (tried || passed)
        return false;
    return referenceReach(g, candidates, opponent(colour), target, depth, true);
}

std::string appliedMoves(const OthelloGame& g)
{
    MoveList applied;
    for (int i = 0; i < g.cursor(); ++i)
        applied.append(g.entry(i)->square);
    return movesToText(applied);
}

TEST(Reach, FindsTwoMovesBetweenSnapshots)
{
    OthelloGame g = gameAfter(textToMoves("F5"));
    const OthelloGame target = gameAfter(textToMoves("F5D6C3"));
    const std::vector<int> candidates = g.newlyOccupiedSquares(target);
    ASSERT_EQ(candidates, (std::vector<int> { sq("C3"), sq("D6") }));
    EXPECT_TRUE(g.reach(candidates, kWhite, target, 2));
    EXPECT_EQ(appliedMoves(g), "F5D6C3");
    EXPECT_TRUE(g.samePosition(target));
}

TEST(Reach, PassesOnceWhenTheGivenSideCannotMove)
{
    OthelloGame g = gameAfter(MoveList {});
    const OthelloGame target = gameAfter(textToMoves("F5"));
    const std::vector<int> candidates { sq("F5") };
    EXPECT_TRUE(g.reach(candidates, kWhite, target, 1));
    EXPECT_EQ(appliedMoves(g), "F5");
    EXPECT_EQ(g.entry(0)->colour, kBlack);
}

TEST(Reach, AcceptsTheLastDiscBeforeItsFlips)
{
    OthelloGame g = gameAfter(textToMoves("F5"));
    OthelloGame target = gameAfter(textToMoves("F5"));
    target.setCell(sq("D6"), kWhite); // the new disc shows, its flip does not yet
    const std::vector<int> candidates { sq("D6") };
    EXPECT_TRUE(g.reach(candidates, kWhite, target, 1));
    EXPECT_EQ(appliedMoves(g), "F5D6");
    EXPECT_FALSE(g.samePosition(target)); // the flips are played: the board runs ahead
    EXPECT_EQ(g.discCount(), target.discCount());
}

TEST(Reach, FailureLeavesThePositionAndTheAppliedMoves)
{
    OthelloGame g = gameAfter(textToMoves("F5D6"));
    OthelloGame target = gameAfter(textToMoves("F5D6C3D3C4"));
    target.setCell(sq("E4"), kWhite); // no sequence of moves gives this colour
    const OthelloGame before = g;
    const std::vector<int> candidates = g.newlyOccupiedSquares(target);
    EXPECT_FALSE(g.reach(candidates, kBlack, target, 3));
    EXPECT_TRUE(g.samePosition(before));
    EXPECT_EQ(g.cursor(), 2);
    // Nonsense arguments fail the same way.
    EXPECT_FALSE(g.reach(std::vector<int> { -4, 0, 133, 999 }, kBlack, target, 3));
    EXPECT_FALSE(g.reach(candidates, 3, target, 3));
    EXPECT_FALSE(g.reach(candidates, kBlack, target, 40));
    EXPECT_TRUE(g.samePosition(before));
}

TEST(Reach, ZeroDepthComparesOnly)
{
    OthelloGame g = gameAfter(textToMoves("F5"));
    EXPECT_TRUE(g.reach({}, kWhite, gameAfter(textToMoves("F5")), 0));
    EXPECT_FALSE(g.reach({}, kWhite, gameAfter(textToMoves("F5D6")), 0));
}

TEST(Reach, GivesUpOnHopelessSearchesOfManySquares)
{
    // 24 squares apart with one disc recoloured: trying every order would never end.
    std::mt19937 rng(9);
    MoveList game;
    while (game.size() < 50)
        game = randomGame(rng);
    OthelloGame g = gameAfter(MoveList::fromBytes(game.bytes().substr(0, 20)));
    OthelloGame target = gameAfter(MoveList::fromBytes(game.bytes().substr(0, 44)));
    const std::vector<int> candidates = g.newlyOccupiedSquares(target);
    ASSERT_EQ(candidates.size(), 24u);
    target.setCell(candidates[5], opponent(target.cell(candidates[5])));
    const OthelloGame before = g;
    EXPECT_FALSE(g.reach(candidates, g.sideToMove(), target, 24));
    EXPECT_TRUE(g.samePosition(before));
    EXPECT_EQ(g.cursor(), 20);
}

// Random snapshots a few moves apart, some altered so they cannot be reached or show the last disc
// before its flips: the search gives the reference answer and leaves the same moves.
TEST(Reach, AgreesWithTheStepByStepSearch)
{
    std::mt19937 rng(5);
    int found = 0;
    for (int i = 0; i < 800; ++i) {
        const MoveList game = randomGame(rng);
        if (game.size() < 10)
            continue;
        const int start = int(rng() % (game.size() - 8));
        const int gap = 1 + int(rng() % 8);
        OthelloGame g = gameAfter(MoveList::fromBytes(game.bytes().substr(0, size_t(start))));
        OthelloGame target
            = gameAfter(MoveList::fromBytes(game.bytes().substr(0, size_t(start + gap))));
        switch (rng() % 3) {
        case 0: { // recolour one disc
            const int s = 12 + int(rng() % 85);
            if (isColour(target.cell(s)))
                target.setCell(s, opponent(target.cell(s)));
            break;
        }
        case 1: { // the last move's flips not shown yet
            const MoveEntry* last = target.current();
            for (uint8_t s : last->flipped())
                target.setCell(s, opponent(last->colour));
            break;
        }
        default:
            break;
        }
        const std::vector<int> candidates = g.newlyOccupiedSquares(target);
        const int colour = g.sideToMove();
        OthelloGame reference = g;
        const bool expected
            = referenceReach(reference, candidates, colour, target, int(candidates.size()), false);
        const bool result = g.reach(candidates, colour, target, int(candidates.size()));
        ASSERT_EQ(result, expected) << movesToText(game) << " from " << start << " gap " << gap;
        EXPECT_EQ(appliedMoves(g), appliedMoves(reference));
        EXPECT_TRUE(g.samePosition(reference));
        found += result;
    }
    EXPECT_GT(found, 200);
}

} // namespace
