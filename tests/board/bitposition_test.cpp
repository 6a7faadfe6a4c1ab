#include "board/bitposition.h"

#include "board/notation.h"
#include "board/othelloboard.h"
#include "board/randomgame.h"

#include <gtest/gtest.h>

#include <random>

using namespace board;

namespace {

// The same position on the plain board, for comparing square by square.
bool samePosition(const BitPosition& p, const OthelloBoard& b)
{
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            const bitboard::Bits at = bitboard::bit(squareAt(r, c));
            const int cell = p.black & at ? kBlack : p.white & at ? kWhite : kEmpty;
            if (cell != b.cell(squareAt(r, c)))
                return false;
        }
    return true;
}

} // namespace

TEST(BitPosition, ReplaysRandomGamesAsThePlainBoardDoes)
{
    std::mt19937 rng(5);
    int passes = 0;
    for (int g = 0; g < 300; ++g) {
        const MoveList moves = randomGame(rng);
        BitPosition p = BitPosition::start();
        OthelloBoard b;
        b.selectVariant(OthelloBoard::kVariantStandard);
        int colour = kBlack;
        for (int square : moves) {
            if (b.hasNoMove(colour)) {
                colour = opponent(colour);
                ++passes;
            }
            // Every other empty square is refused exactly when the plain board refuses it.
            for (int other = 0; other < kCellCount; other += 7) {
                BitPosition trial = p;
                const bool legal = isSquare8x8(other) && b.canPlay(other, colour);
                ASSERT_EQ(trial.play(other), legal) << movesToText(moves) << " " << other;
            }
            ASSERT_TRUE(p.play(square));
            ASSERT_GT(b.play(square, colour), 0);
            colour = opponent(colour);
            ASSERT_TRUE(samePosition(p, b));
        }
        EXPECT_EQ(p.gameOver(), moves.size() < 60 || b.gameOver());
        BitPosition replayed;
        EXPECT_EQ(replayLegalPrefix(moves, replayed), moves.size());
        EXPECT_EQ(replayed, p);
    }
    EXPECT_GT(passes, 0);
}

TEST(BitPosition, StopsAtTheFirstMoveThatCannotBePlayed)
{
    struct Case {
        const char* moves;
        int legal;
    };
    for (const Case& c :
        { Case { "", 0 }, Case { "F5D6C3", 3 }, Case { "A1", 0 }, Case { "F5F5", 1 },
            Case { "F5D6D6C3", 2 }, Case { "F5E6", 1 }, Case { "F5D6C3D3C4F4F6F3E6E7", 10 } }) {
        BitPosition p;
        EXPECT_EQ(replayLegalPrefix(textToMoves(c.moves), p), c.legal) << c.moves;
    }
    BitPosition p = BitPosition::start();
    EXPECT_FALSE(p.play(0));
    EXPECT_FALSE(p.play(kCellCount - 1));
    EXPECT_EQ(p, BitPosition::start());
}
