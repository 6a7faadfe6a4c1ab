#include "board/orientation.h"
#include "board/randomgame.h"
#include "capture/followedgame.h"
#include "capturekit.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace board;
using capturekit::gameAfter;
using capturekit::snapshotAfter;
using capturekit::snapshotOf;
using Step = FollowedGame::Step;

namespace {

// A whole game of 60 moves without a pass, starting with F5.
std::string wholeGame()
{
    for (unsigned seed = 1;; ++seed) {
        std::mt19937 rng(seed);
        const MoveList moves = randomGame(rng);
        if (moves.size() != 60)
            continue;
        const std::string text = movesToText(moves);
        OthelloGame g = gameAfter(moves, 60);
        bool passes = false;
        for (int i = 1; i < g.length(); ++i)
            passes = passes || g.entry(i)->colour == g.entry(i - 1)->colour;
        if (!passes && text.starts_with("F5"))
            return text;
    }
}

const std::string kGame = wholeGame();

FollowedGame startedAt(const TableSnapshot& s)
{
    FollowedGame game;
    game.restart(s);
    return game;
}

// Whether the game holds a pass: some move by the same side as the one before it.
bool hasPass(const MoveList& moves)
{
    OthelloGame g = gameAfter(moves, moves.size());
    for (int i = 1; i < g.length(); ++i)
        if (g.entry(i)->colour == g.entry(i - 1)->colour)
            return true;
    return false;
}

TEST(FollowedGame, FollowsRandomGamesMoveByMove)
{
    int withPass = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        const MoveList moves = randomGame(rng);
        const std::string text = movesToText(moves);
        SCOPED_TRACE(text);
        withPass += hasPass(moves);
        FollowedGame game = startedAt(snapshotAfter(text, 0));
        for (int n = 1; n <= moves.size(); ++n)
            ASSERT_EQ(game.follow(snapshotAfter(text, n)), Step::movesInferred) << n;
        EXPECT_EQ(game.game().moves(), moves);
        EXPECT_TRUE(game.over());
        EXPECT_TRUE(game.complete());
        EXPECT_EQ(game.follow(snapshotAfter(text, moves.size())), Step::noChange);
    }
    EXPECT_GT(withPass, 0) << "some game must pass";
}

TEST(FollowedGame, FindsSeveralMovesBetweenReadings)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        for (const int stride : { 2, 3, 4 }) {
            std::mt19937 rng(seed);
            const MoveList moves = randomGame(rng);
            const std::string text = movesToText(moves);
            SCOPED_TRACE(testing::Message() << text << " every " << stride);
            FollowedGame game = startedAt(snapshotAfter(text, 0));
            for (int n = stride; n < moves.size() + stride; n += stride) {
                const int shown = std::min(n, moves.size());
                ASSERT_EQ(game.follow(snapshotAfter(text, shown)), Step::movesInferred)
                    << n << " " << movesToText(game.game().moves()) << " side "
                    << game.sideToMove();
                // Another order of the same moves may give the same position; the position and
                // the replay are what must hold.
                EXPECT_TRUE(game.game().samePosition(gameAfter(moves, shown)));
                EXPECT_TRUE(game.complete());
            }
            EXPECT_EQ(game.game().moves().size(), moves.size());
        }
    }
}

TEST(FollowedGame, AcceptsADiscShownBeforeItsFlips)
{
    FollowedGame game = startedAt(snapshotAfter(kGame, 10));
    ASSERT_EQ(game.game().moves().size(), 10);
    EXPECT_EQ(game.follow(capturekit::snapshotMidMove(kGame, 10)), Step::movesInferred);
    // The held board runs ahead of the picture until the flips are drawn.
    EXPECT_TRUE(game.game().samePosition(gameAfter(textToMoves(kGame), 11)));
    EXPECT_EQ(game.follow(snapshotAfter(kGame, 11)), Step::noChange);
    EXPECT_EQ(game.follow(snapshotAfter(kGame, 12)), Step::movesInferred);
    EXPECT_EQ(movesToText(game.game().moves()), kGame.substr(0, 24));
}

TEST(FollowedGame, RestartsOnANewGameOrTooManyNewDiscs)
{
    FollowedGame game = startedAt(snapshotAfter(kGame, 20));
    EXPECT_EQ(game.follow(snapshotAfter(kGame, 2)), Step::restart) << "fewer discs: a new game";
    game = startedAt(snapshotAfter(kGame, 0));
    EXPECT_EQ(game.follow(snapshotAfter(kGame, 13)), Step::restart) << "13 new discs";
    game = startedAt(snapshotAfter(kGame, 0));
    EXPECT_EQ(game.follow(snapshotAfter(kGame, 12)), Step::movesInferred) << "12 new discs";
    // A disc gone from a square the held board fills cannot follow, even with more discs.
    TableSnapshot odd = snapshotAfter(kGame, 14);
    odd.cells[3 * 8 + 3] = 0;
    game = startedAt(snapshotAfter(kGame, 12));
    EXPECT_EQ(game.follow(odd), Step::restart);
    // A position no move order reaches.
    TableSnapshot impossible = snapshotAfter(kGame, 12);
    impossible.cells[0] = 1;
    game = startedAt(snapshotAfter(kGame, 12));
    EXPECT_EQ(game.follow(impossible), Step::restart);
}

TEST(FollowedGame, RestartRecoversUpToTwelveMoves)
{
    const struct {
        int played;
        int known;
        int missing;
    } cases[] = { { 0, 0, 0 }, { 1, 1, 0 }, { 12, 12, 0 }, { 13, 0, 13 }, { 40, 0, 40 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.played);
        FollowedGame game = startedAt(snapshotAfter(kGame, c.played, "r", 1, "kuro", "shiro"));
        EXPECT_EQ(game.game().moves().size(), c.known);
        EXPECT_EQ(game.missingMoves(), c.missing);
        EXPECT_EQ(game.complete(), c.missing == 0);
        EXPECT_TRUE(game.game().samePosition(gameAfter(textToMoves(kGame), c.played)));
        EXPECT_EQ(game.blackName(), "kuro");
        EXPECT_EQ(game.whiteName(), "shiro");
        EXPECT_EQ(game.sideToMove(), c.played % 2 == 0 ? kBlack : kWhite);
    }
}

TEST(FollowedGame, MoveTextMarksMissingMovesAndBreaksOnce)
{
    FollowedGame game = startedAt(snapshotAfter(kGame, 14));
    EXPECT_EQ(game.moveText(), "- - - - - - - - - - - - - - ");
    ASSERT_EQ(game.follow(snapshotAfter(kGame, 16)), Step::movesInferred);
    EXPECT_EQ(game.moveText(), "- - - - - - - - - - - - - - " + kGame.substr(28, 4));
    EXPECT_EQ(game.copyText(), kGame.substr(28, 4));
    EXPECT_FALSE(game.complete());

    game = startedAt(snapshotAfter(kGame, 0));
    for (int n = 1; n <= 30; ++n)
        game.follow(snapshotAfter(kGame, n));
    EXPECT_EQ(game.moveText(), kGame.substr(0, 60)) << "exactly 60 characters: no break";
    game.follow(snapshotAfter(kGame, 31));
    EXPECT_EQ(game.moveText(), kGame.substr(0, 60) + "\r\n" + kGame.substr(60, 2));
    for (int n = 32; n <= 60; ++n)
        game.follow(snapshotAfter(kGame, n));
    EXPECT_EQ(game.moveText(), kGame.substr(0, 60) + "\r\n" + kGame.substr(60));
    EXPECT_EQ(game.copyText(), kGame);
}

TEST(FollowedGame, FourDiscsOffTheStartAreNeverComplete)
{
    TableSnapshot s = snapshotAfter(kGame, 0);
    s.cells = {};
    s.cells[0] = s.cells[7] = 1;
    s.cells[56] = s.cells[63] = 2;
    FollowedGame game = startedAt(s);
    EXPECT_EQ(game.missingMoves(), 0);
    EXPECT_FALSE(game.complete()) << "discs that did not come from the starting position";
    TableSnapshot empty = snapshotAfter(kGame, 0);
    empty.cells = {};
    game = startedAt(empty);
    EXPECT_EQ(game.game().discCount(), 0);
    EXPECT_FALSE(game.complete());
    EXPECT_EQ(game.follow(snapshotAfter(kGame, 0)), Step::restart);
    game.restart(snapshotAfter(kGame, 0));
    EXPECT_TRUE(game.complete());
    // Cell values that are no disc are taken as empty.
    TableSnapshot junk = snapshotAfter(kGame, 0);
    junk.cells[0] = 3;
    junk.cells[1] = 200;
    game = startedAt(junk);
    EXPECT_EQ(game.game().discCount(), 4);
    EXPECT_EQ(game.follow(junk), Step::noChange);
}

TEST(FollowedGame, RecordCarriesResultNamesAndNormalisedMoves)
{
    setenv("TZ", "UTC", 1);
    tzset();
    const std::time_t when = 1700000000; // 2023-11-14 22:13:20 UTC

    FollowedGame game = startedAt(snapshotAfter(kGame, 0, "r", 1, "kuro", "shiro"));
    for (int n = 1; n <= 60; ++n)
        game.follow(snapshotAfter(kGame, n));
    ASSERT_TRUE(game.over());
    CapturedGame r = game.record(when);
    EXPECT_EQ(r.name, "20231114221320");
    EXPECT_EQ(r.playedAt, 1700000000);
    EXPECT_EQ(r.blackName, "kuro");
    EXPECT_EQ(r.whiteName, "shiro");
    EXPECT_EQ(r.moveCount, 60);
    EXPECT_EQ(r.moves, textToMoves(kGame)) << "this game already starts with F5";
    const OthelloGame end = gameAfter(textToMoves(kGame), 60);
    EXPECT_EQ(r.blackDiscs, end.blackCount());
    EXPECT_EQ(r.whiteDiscs, end.whiteCount());
    EXPECT_EQ(r.winner,
        end.blackCount() > end.whiteCount() ? GameRecord::blackWins : GameRecord::whiteWins);
    EXPECT_EQ(r.endType, GameRecord::normalEnd);

    // Unfinished, and starting elsewhere than F5: transformed with its code, no result.
    const std::string_view other = "D3C5F6";
    game = startedAt(snapshotAfter(other, 0));
    for (int n = 1; n <= 3; ++n)
        game.follow(snapshotAfter(other, n));
    r = game.record(when);
    EXPECT_EQ(r.endType, GameRecord::unfinished);
    EXPECT_EQ(r.winner, GameRecord::noWinner);
    EXPECT_EQ(r.blackDiscs, 0);
    EXPECT_EQ(r.orientation, classifyOpening(textToMoves(other)));
    EXPECT_EQ(movesToText(r.moves).substr(0, 2), "F5");
    EXPECT_EQ(transform(r.moves, r.orientation), textToMoves(other));
}

} // namespace
