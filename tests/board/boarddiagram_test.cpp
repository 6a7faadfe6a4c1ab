#include "board/boarddiagram.h"

#include "board/notation.h"
#include "board/othellogame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace board;

namespace {

// The diagram's index of a square named like "f5".
int at(const char* name)
{
    return (name[1] - '1') * 8 + (name[0] - 'a');
}

struct Square {
    const char* name;
    int cell;
    int number;
};

struct DiagramCase {
    const char* moves;
    int undo; // moves taken back after playing them all
    const char* lastMove; // nullptr: none
    int discs;
    std::vector<Square> squares;
};

TEST(BoardDiagram, DiscsNumbersAndLastMoveAtTheCursor)
{
    const DiagramCase cases[] = {
        { "", 0, nullptr, 4,
            { { "d4", kWhite, 0 }, { "e4", kBlack, 0 }, { "d5", kBlack, 0 }, { "e5", kWhite, 0 },
                { "f5", kEmpty, 0 } } },
        { "F5", 0, "f5", 5, { { "f5", kBlack, 1 }, { "e5", kBlack, 0 }, { "d4", kWhite, 0 } } },
        { "F5D6C3", 0, "c3", 7,
            { { "c3", kBlack, 3 }, { "d6", kWhite, 2 }, { "d4", kBlack, 0 },
                { "f5", kBlack, 1 } } },
        // Taken back: the square is empty again and keeps no number.
        { "F5D6C3", 1, "d6", 6, { { "c3", kEmpty, 0 }, { "d6", kWhite, 2 }, { "d5", kWhite, 0 } } },
        { "F5D6C3", 3, nullptr, 4, { { "f5", kEmpty, 0 }, { "d6", kEmpty, 0 } } },
        // A disc flipped after it was played keeps the number of its move.
        { "F5F4E3F6", 0, "f6", 8,
            { { "f5", kWhite, 1 }, { "f6", kWhite, 4 }, { "e3", kBlack, 3 } } },
    };
    for (const DiagramCase& c : cases) {
        SCOPED_TRACE(std::string(c.moves) + " less " + std::to_string(c.undo));
        OthelloGame game;
        game.selectVariant(OthelloBoard::kVariantStandard);
        ASSERT_EQ(
            game.replay(textToMoves(c.moves)), static_cast<int>(std::string(c.moves).size() / 2));
        for (int i = 0; i < c.undo; ++i)
            game.undo();
        const BoardDiagram d = BoardDiagram::of(game, true);
        EXPECT_TRUE(d.showNumbers);
        EXPECT_EQ(d.lastMove, c.lastMove ? at(c.lastMove) : -1);
        int discs = 0;
        for (uint8_t cell : d.cells)
            discs += cell != kEmpty;
        EXPECT_EQ(discs, c.discs);
        for (const Square& s : c.squares) {
            EXPECT_EQ(d.cells[at(s.name)], s.cell) << s.name;
            EXPECT_EQ(d.numbers[at(s.name)], s.number) << s.name;
        }
    }
}

TEST(BoardDiagram, SvgDrawsOneCircleAPieceAndNumbersOnlyWhenAsked)
{
    OthelloGame game;
    game.selectVariant(OthelloBoard::kVariantStandard);
    game.replay(textToMoves("F5D6C3"));
    const auto count = [](const std::string& svg, const std::string& what) {
        int n = 0;
        for (size_t p = svg.find(what); p != std::string::npos; p = svg.find(what, p + 1))
            ++n;
        return n;
    };
    const std::string plain = diagramSvg(BoardDiagram::of(game, false));
    EXPECT_EQ(count(plain, "<circle class=\"black\""), 5);
    EXPECT_EQ(count(plain, "<circle class=\"white\""), 2);
    EXPECT_EQ(count(plain, "class=\"number\""), 0);
    EXPECT_EQ(count(plain, "class=\"mark\""), 1);
    const std::string numbered = diagramSvg(BoardDiagram::of(game, true));
    EXPECT_EQ(count(numbered, "class=\"number\""), 3);
    EXPECT_EQ(count(numbered, "class=\"mark\""), 0);
    EXPECT_TRUE(numbered.starts_with("<?xml"));
    EXPECT_TRUE(numbered.ends_with("</svg>\n"));
}

} // namespace
