#include "board/notation.h"
#include "board/orientation.h"
#include "board/othellogame.h"
#include "board/randomgame.h"

#include <gtest/gtest.h>

namespace {

struct OpeningCase {
    const char* moves;
    int code;
    const char* normalised;
};

class ClassifyOpening : public testing::TestWithParam<OpeningCase> { };

TEST_P(ClassifyOpening, CodeAndCanonicalForm)
{
    const OpeningCase& c = GetParam();
    const MoveList moves = textToMoves(c.moves);
    EXPECT_EQ(classifyOpening(moves), c.code);
    EXPECT_EQ(movesToText(transform(moves, c.code)), c.normalised);
}

// One row per rule of the table, and the transposition orders that the exchanges merge.
INSTANTIATE_TEST_SUITE_P(Rules, ClassifyOpening,
    testing::Values(OpeningCase { "F5F6E6D6", 6, "F5F6E6F4" },
        OpeningCase { "F5D6C4D3C3", 8, "F5D6C3D3C4" },
        OpeningCase { "F5D6C3D3C4", 0, "F5D6C3D3C4" }, OpeningCase { "F5F6E6F4", 0, "F5F6E6F4" },
        OpeningCase { "D3C3C4C5", 7, "F5F6E6F4" }, OpeningCase { "D3C5E6F5F6", 9, "F5D6C3D3C4" },
        OpeningCase { "D3C5F6", 1, "F5D6C3" }, OpeningCase { "E6F6F5F4", 4, "F5F6E6F4" },
        OpeningCase { "E6F4D3C4C3", 10, "F5D6C3D3C4" }, OpeningCase { "E6F4", 2, "F5D6" },
        OpeningCase { "C4C3D3E3", 5, "F5F6E6F4" }, OpeningCase { "C4E3F5E6F6", 11, "F5D6C3D3C4" },
        OpeningCase { "C4E3", 3, "F5D6" }, OpeningCase { "", 0, "" },
        OpeningCase { "A1", 0, "A1" }));

TEST(Transform, EveryCodeIsItsOwnInverseOnRandomGames)
{
    std::mt19937 rng(3);
    for (int i = 0; i < 500; ++i) {
        const MoveList moves = randomGame(rng, int(rng() % 61));
        for (int code = 0; code < 12; ++code)
            ASSERT_EQ(transform(transform(moves, code), code), moves) << code;
        const MoveList normalised = transform(moves, classifyOpening(moves));
        if (!moves.empty()) {
            EXPECT_EQ(movesToText(normalised).substr(0, 2), "F5") << movesToText(moves);
        }
        // The canonical form is a legal game too.
        OthelloGame g;
        g.selectVariant(OthelloBoard::kVariantStandard);
        EXPECT_EQ(g.replay(normalised), moves.size()) << movesToText(moves);
    }
}

TEST(Transform, ArbitraryBytesStayInvertible)
{
    const MoveList odd = MoveList::fromBytes("\x01\x0b\x16\xff\x61\x84");
    for (int code = 0; code < 12; ++code)
        EXPECT_EQ(transform(transform(odd, code), code), odd);
    EXPECT_EQ(transform(odd, 1)[0], 1);
    // Exchanges need the moves they exchange; a short list keeps its order.
    const MoveList two = textToMoves("E6F6");
    EXPECT_EQ(movesToText(transform(two, 4)), "E6F6");
    EXPECT_EQ(transform(two, -1).size(), 2);
}

} // namespace
