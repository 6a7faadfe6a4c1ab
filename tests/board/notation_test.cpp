#include "board/notation.h"
#include "board/squares.h"

#include <gtest/gtest.h>

using namespace board;

namespace {

struct ReadCase {
    const char* text;
    const char* reads; // the moves read, written back
};

class TextToMoves : public testing::TestWithParam<ReadCase> { };

TEST_P(TextToMoves, StopsAtTheFirstInvalidPair)
{
    EXPECT_EQ(movesToText(textToMoves(GetParam().text)), GetParam().reads);
}

INSTANTIATE_TEST_SUITE_P(Texts, TextToMoves,
    testing::Values(ReadCase { "F5D6C3", "F5D6C3" }, ReadCase { "f5d6c3", "F5D6C3" },
        ReadCase { "F5X9D6", "F5" }, ReadCase { "F5D9C3", "F5" }, ReadCase { "F5D", "F5" },
        ReadCase { "F5 D6", "F5" }, ReadCase { "I1", "" }, ReadCase { "F0", "" },
        ReadCase { "a1H8h1A8", "A1H8H1A8" }, ReadCase { "", "" },
        ReadCase { "F5D6,name", "F5D6" }));

TEST(Notation, SquareIndices)
{
    const MoveList moves = textToMoves("A1H1A8H8");
    EXPECT_EQ(moves.size(), 4);
    EXPECT_EQ(moves[0], squareAt(0, 0));
    EXPECT_EQ(moves[1], squareAt(0, 7));
    EXPECT_EQ(moves[2], squareAt(7, 0));
    EXPECT_EQ(moves[3], 96);
}

TEST(Notation, ReadingStopsAfterSixtyMoves)
{
    std::string text;
    for (int i = 0; i < 70; ++i)
        text += "A1";
    EXPECT_EQ(textToMoves(text).size(), 60);
}

TEST(MoveList, FromBytesStopsAtZeroAndSixty)
{
    EXPECT_EQ(MoveList::fromBytes(std::string("\x2e\x3a\0\x20", 4)).size(), 2);
    EXPECT_EQ(MoveList::fromBytes(std::string(100, 'x')).size(), 60);
    MoveList full = MoveList::fromBytes(std::string(100, 'x'));
    EXPECT_FALSE(full.append(40));
    EXPECT_EQ(full.data()[60], 0);
    MoveList list;
    EXPECT_FALSE(list.append(0));
    EXPECT_FALSE(list.append(256));
    EXPECT_TRUE(list.empty());
}

} // namespace
