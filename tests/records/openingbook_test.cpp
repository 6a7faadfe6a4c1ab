#include "board/notation.h"
#include "board/othellogame.h"
#include "board/randomgame.h"
#include "buildpaths.h"
#include "records/collectionfile.h"
#include "records/gamerecord.h"
#include "records/openingbook.h"
#include "records/recordline.h"
#include "text/cp932.h"

#include "tempdir.h"

#include <gtest/gtest.h>

namespace {

OpeningBook bookOf(std::string_view text)
{
    OpeningBook book;
    book.read(text);
    return book;
}

TEST(OpeningBook, FirstListedPrefixWins)
{
    const OpeningBook longFirst = bookOf("F5D6C3D3C4,X\nF5D6,Y\n");
    EXPECT_EQ(longFirst.lookup(textToMoves("F5D6C3D3C4F4")), 0);
    EXPECT_EQ(longFirst.lookup(textToMoves("F5D6C5")), 1);
    EXPECT_EQ(longFirst.name(0), "X");
    const OpeningBook shortFirst = bookOf("F5D6,Y\nF5D6C3D3C4,X\n");
    EXPECT_EQ(shortFirst.lookup(textToMoves("F5D6C3D3C4F4")), 0);
    EXPECT_EQ(shortFirst.lookup(textToMoves("F5D6C3D3C4")), 0);
}

TEST(OpeningBook, ShorterRecordsDoNotMatch)
{
    const OpeningBook book = bookOf("F5D6C3D3C4,X\n");
    EXPECT_EQ(book.lookup(textToMoves("F5D6C3")), -1);
    EXPECT_EQ(book.lookup(MoveList {}), -1);
    EXPECT_EQ(book.lookup(textToMoves("F5F6")), -1);
}

TEST(OpeningBook, LineShapes)
{
    const OpeningBook book = bookOf("no comma here\r\n"
                                    "F5F6,tiger, with a comma\r\n"
                                    "F5F4 E3,stops at the space\n"
                                    ",matches everything\n"
                                    "F5D6,last line without an end");
    ASSERT_EQ(book.size(), 4);
    EXPECT_EQ(book.name(0), "tiger, with a comma");
    EXPECT_EQ(movesToText(book.moves(1)), "F5F4");
    EXPECT_EQ(book.name(3), "last line without an end");
    EXPECT_EQ(book.lookup(textToMoves("F5F6E6")), 0);
    EXPECT_EQ(book.lookup(textToMoves("F5F4E3")), 1);
    EXPECT_EQ(book.lookup(textToMoves("F5D6")), 2); // the empty line comes first
    EXPECT_EQ(book.lookup(MoveList {}), 2);
    EXPECT_EQ(book.name(-1), "");
    EXPECT_EQ(book.name(4), "");
    EXPECT_TRUE(book.moves(-1).empty());
}

TEST(OpeningBook, LongLinesAreReadInPieces)
{
    // 1023 bytes of a longer line make one piece; the rest is read as a line of its own.
    const std::string first = "F5," + std::string(1020, 'a');
    const OpeningBook book = bookOf(first + "F6,b\nF5D6,c\n");
    ASSERT_EQ(book.size(), 3);
    EXPECT_EQ(book.name(0), std::string(1020, 'a'));
    EXPECT_EQ(book.name(1), "b");
    EXPECT_EQ(movesToText(book.moves(1)), "F6");
}

TEST(OpeningBook, MissingFileLeavesItEmpty)
{
    OpeningBook book;
    EXPECT_EQ(book.load("/nonexistent/opening.txt"), 0);
    EXPECT_EQ(book.lookup(textToMoves("F5")), -1);
}

// The tree walk gives what comparing every entry in file order gives.
TEST(OpeningBook, LookupMatchesAScanInFileOrder)
{
    std::mt19937 rng(29);
    std::string text;
    std::vector<MoveList> entries;
    for (int i = 0; i < 300; ++i) {
        const MoveList game = randomGame(rng, int(rng() % 8));
        text += movesToText(game) + ",n\n";
        entries.push_back(game);
    }
    const OpeningBook book = bookOf(text);
    for (int i = 0; i < 2000; ++i) {
        const MoveList record = randomGame(rng, int(rng() % 12));
        int expected = -1;
        for (size_t e = 0; e < entries.size() && expected < 0; ++e) {
            if (record.bytes().starts_with(entries[e].bytes()))
                expected = int(e);
        }
        ASSERT_EQ(book.lookup(record), expected) << movesToText(record);
    }
}

TEST(OpeningBook, ProgramDataFile)
{
    OpeningBook book;
    ASSERT_GT(book.load(PAVIONE_RES_DIR "/opening.txt"), 200);
    for (int i = 0; i < book.size(); ++i) {
        const MoveList moves = book.moves(i);
        EXPECT_FALSE(book.name(i).empty()) << i;
        EXPECT_EQ(movesToText(moves).substr(0, 2), "F5") << i;
        OthelloGame game;
        game.selectVariant(OthelloBoard::kVariantStandard);
        EXPECT_EQ(game.replay(moves), moves.size()) << movesToText(moves);
        // No earlier line begins this one, or it could never be named.
        EXPECT_EQ(book.lookup(moves), i) << movesToText(moves);
    }
    EXPECT_EQ(cp932::toUtf8(book.name(book.lookup(textToMoves("F5D6C3D3C4F4C5B3C2")))),
        "花形（ローズビル）基本形");
}

TEST(OpeningBook, RecordsAreNamedOnLoadOnReceiptAndFromAGame)
{
    const OpeningBook book = bookOf("F5D6C3,cow\nF5,any\n");
    OthelloGame game;
    game.selectVariant(OthelloBoard::kVariantStandard);
    game.replay(textToMoves("D3C5F6")); // stored as F5 D6 C3
    const GameRecord fromGame = recordFromGame(game, "g", book);
    EXPECT_EQ(fromGame.opening, 0);

    PlayerNameTable names;
    GameRecord received;
    recordFromLine(recordToLine(fromGame, names), received, names, book);
    EXPECT_EQ(received.opening, 0);

    RecordCollection c;
    c.folders.emplace_back();
    GameRecord other = fromGame;
    other.folder = 0;
    other.moves = textToMoves("F5F6");
    c.records = { fromGame, other };
    c.records[0].folder = 0;
    TempDir dir;
    ASSERT_EQ(saveCollection(dir.file("c.kif"), c), 0);
    RecordCollection loaded;
    ASSERT_EQ(loadCollection(dir.file("c.kif"), loaded, book), 0);
    EXPECT_EQ(loaded.records[0].opening, 0);
    EXPECT_EQ(loaded.records[1].opening, 1);
}

} // namespace
