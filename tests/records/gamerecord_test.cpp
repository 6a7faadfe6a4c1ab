#include "board/notation.h"
#include "board/orientation.h"
#include "board/othellogame.h"
#include "board/randomgame.h"
#include "records/gamerecord.h"
#include "records/openingbook.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

const OpeningBook kNoOpenings;

std::string utf8(const std::string& cp932Text)
{
    return cp932::toUtf8(cp932Text);
}

TEST(GameRecord, BlankRecordDefaults)
{
    const GameRecord r = newBlankRecord();
    EXPECT_EQ(r.folder, -1);
    EXPECT_EQ(r.blackPlayer, 0);
    EXPECT_EQ(r.whitePlayer, 0);
    EXPECT_EQ(r.winner, 0);
    EXPECT_EQ(r.endType, GameRecord::unfinished);
    EXPECT_EQ(r.playedAt, 0);
    EXPECT_EQ(r.deletedAt, 0);
    EXPECT_TRUE(r.moves.empty());
    EXPECT_TRUE(r.name.empty());
    EXPECT_TRUE(r.comment.empty());
    EXPECT_EQ(r.opening, -1);
    EXPECT_EQ(utf8(resultText(r)), "途中終了");
}

TEST(GameRecord, NamedRecordIsPlayedNow)
{
    const int32_t before = int32_t(std::time(nullptr));
    const GameRecord r = newNamedRecord("abc");
    EXPECT_EQ(r.name, "abc");
    EXPECT_GE(r.playedAt, before);
    EXPECT_LE(r.playedAt, before + 5);
    EXPECT_EQ(r.endType, GameRecord::unfinished);
}

struct ResultCase {
    int winner;
    int endType;
    int black;
    int white;
    const char* text;
};

class ResultText : public testing::TestWithParam<ResultCase> { };

TEST_P(ResultText, ShowsWinnerAndEnding)
{
    const ResultCase& c = GetParam();
    GameRecord r;
    r.winner = int8_t(c.winner);
    r.endType = int8_t(c.endType);
    r.blackDiscs = int8_t(c.black);
    r.whiteDiscs = int8_t(c.white);
    EXPECT_EQ(utf8(resultText(r)), c.text);
}

INSTANTIATE_TEST_SUITE_P(Results, ResultText,
    testing::Values(ResultCase { 1, 0, 36, 28, "黒 36-28" },
        ResultCase { 2, 0, 20, 44, "白 20-44" }, ResultCase { 1, 0, 64, 0, "黒 64-00" },
        ResultCase { 2, 0, 5, 9, "白 05-09" }, ResultCase { 1, 1, 0, 0, "黒 投了勝" },
        ResultCase { 2, 2, 0, 0, "白 針落勝" }, ResultCase { 1, 4, 0, 0, "黒 反則勝" },
        ResultCase { 2, 3, 0, 0, "白勝" }, ResultCase { 1, 9, 0, 0, "黒勝" },
        ResultCase { 0, 0, 40, 24, "引き分け" }, ResultCase { 0, 1, 0, 0, "途中終了" },
        ResultCase { 7, 0, 1, 2, "引き分け" }, ResultCase { 1, 0, -3, 120, "黒 -3-120" }));

TEST(GameRecord, RecordFromGameStoresTheCanonicalForm)
{
    OthelloGame game;
    game.selectVariant(OthelloBoard::kVariantStandard);
    game.replay(textToMoves("D3C5F6F5E6"));
    const GameRecord r = recordFromGame(game, "x", kNoOpenings);
    EXPECT_EQ(r.orientation, 1);
    EXPECT_EQ(movesToText(r.moves), "F5D6C3D3C4");
    EXPECT_EQ(movesToText(playedMoves(r)), "D3C5F6F5E6");
    EXPECT_EQ(r.name, "x");
    EXPECT_NE(r.playedAt, 0);

    OthelloGame viewer;
    gameOfRecord(r, viewer);
    EXPECT_EQ(movesToText(viewer.moves()), "D3C5F6F5E6");
    EXPECT_TRUE(viewer.samePosition(game));
}

TEST(GameRecord, RoundTripOverRandomGames)
{
    std::mt19937 rng(17);
    for (int i = 0; i < 300; ++i) {
        OthelloGame game;
        game.selectVariant(OthelloBoard::kVariantStandard);
        game.replay(randomGame(rng, 1 + int(rng() % 60)));
        const GameRecord r = recordFromGame(game, "g", kNoOpenings);
        ASSERT_EQ(movesToText(r.moves).substr(0, 2), "F5");
        OthelloGame back;
        gameOfRecord(r, back);
        ASSERT_EQ(back.moves(), game.moves());
        // Every position along the way, not only the last one.
        for (int n = back.cursor(); n > 0; --n) {
            ASSERT_TRUE(back.samePosition(game)) << n;
            back.undo();
            game.undo();
        }
    }
}

TEST(GameRecord, GameOfRecordStopsWhereTheMovesStopBeingLegal)
{
    GameRecord r;
    r.moves = MoveList::fromBytes(std::string(textToMoves("F5D6").bytes()) + "\x0c\x3d");
    r.orientation = 0;
    OthelloGame viewer;
    gameOfRecord(r, viewer);
    EXPECT_EQ(viewer.cursor(), 2);
}

TEST(GameRecord, CopyKeepsEverythingButTheFolder)
{
    GameRecord r = newNamedRecord("n");
    r.folder = 4;
    r.blackPlayer = 2;
    r.whitePlayer = 3;
    r.blackDiscs = 33;
    r.whiteDiscs = 31;
    r.winner = 1;
    r.endType = 0;
    r.orientation = 5;
    r.deletedAt = 77;
    r.moves = textToMoves("F5F6E6F4");
    r.comment = "line\r\nline";
    r.opening = 3;
    const GameRecord c = copyRecord(r);
    EXPECT_EQ(c.folder, -1);
    GameRecord expected = r;
    expected.folder = -1;
    EXPECT_EQ(c.name, expected.name);
    EXPECT_EQ(c.comment, expected.comment);
    EXPECT_EQ(c.moves, expected.moves);
    EXPECT_EQ(std::tie(c.blackPlayer, c.whitePlayer, c.blackDiscs, c.whiteDiscs, c.winner,
                  c.endType, c.orientation, c.playedAt, c.deletedAt, c.opening),
        std::tie(r.blackPlayer, r.whitePlayer, r.blackDiscs, r.whiteDiscs, r.winner, r.endType,
            r.orientation, r.playedAt, r.deletedAt, r.opening));
}

TEST(GameRecord, SetDeletedNow)
{
    GameRecord r;
    setDeletedNow(r);
    EXPECT_GE(r.deletedAt, int32_t(std::time(nullptr)) - 5);
}

} // namespace
