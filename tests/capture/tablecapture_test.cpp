#include "board/randomgame.h"
#include "capture/tablecapture.h"
#include "capturekit.h"

#include <gtest/gtest.h>

#include <vector>

using capturekit::snapshotAfter;

namespace {

struct CaptureFixture {
    std::vector<CapturedGame> filed;
    std::time_t now = 1700000000;

    TableCapture make(const TableSnapshot& s, bool autoSave = true)
    {
        return TableCapture(
            s, autoSave, [this](const CapturedGame& g) { filed.push_back(g); },
            [this] { return now; });
    }
};

std::string wholeGame(int wanted)
{
    for (unsigned seed = 1;; ++seed) {
        std::mt19937 rng(seed);
        const MoveList moves = randomGame(rng);
        if (moves.size() == wanted)
            return movesToText(moves);
    }
}

const std::string kGame = wholeGame(60);

TEST(TableCapture, FilesAGameFollowedToItsEnd)
{
    for (const bool autoSave : { true, false }) {
        CaptureFixture f;
        TableCapture capture = f.make(snapshotAfter(kGame, 0), autoSave);
        EXPECT_FALSE(capture.unsaved());
        for (int n = 1; n <= 60; ++n) {
            const auto result = capture.snapshotRead(snapshotAfter(kGame, n), true);
            EXPECT_TRUE(result.claimed);
            EXPECT_TRUE(result.movesChanged);
        }
        if (autoSave) {
            ASSERT_EQ(f.filed.size(), 1u);
            EXPECT_EQ(f.filed[0].endType, GameRecord::normalEnd);
            EXPECT_EQ(f.filed[0].moveCount, 60);
            EXPECT_EQ(f.filed[0].blackName, "alice");
            EXPECT_FALSE(capture.unsaved());
            EXPECT_FALSE(capture.save()) << "nothing unsaved";
        } else {
            EXPECT_TRUE(f.filed.empty());
            EXPECT_TRUE(capture.unsaved());
            EXPECT_TRUE(capture.save());
            EXPECT_EQ(f.filed.size(), 1u);
        }
        // Readings of the finished board change nothing and file nothing more.
        EXPECT_FALSE(capture.snapshotRead(snapshotAfter(kGame, 60), true).movesChanged);
        EXPECT_EQ(f.filed.size(), 1u);
    }
}

TEST(TableCapture, ANewGameFilesTheOldOneFirst)
{
    const struct {
        int played;
        bool autoSave;
        size_t filed;
        int endType;
    } cases[] = {
        { 20, false, 1, GameRecord::unfinished },
        { 20, true, 1, GameRecord::unfinished },
        { 60, false, 1, GameRecord::normalEnd },
    };
    for (const auto& c : cases) {
        CaptureFixture f;
        TableCapture capture = f.make(snapshotAfter(kGame, 0), c.autoSave);
        for (int n = 1; n <= c.played; ++n)
            capture.snapshotRead(snapshotAfter(kGame, n), true);
        const TableSnapshot next = snapshotAfter(kGame, 0, "room", 1, "carol", "dave");
        capture.snapshotRead(next, true);
        EXPECT_TRUE(f.filed.empty()) << "one reading of a new board is not trusted yet";
        EXPECT_EQ(capture.game().game().moves().size(), c.played);
        capture.snapshotRead(next, true);
        ASSERT_EQ(f.filed.size(), c.filed);
        if (c.filed) {
            EXPECT_EQ(f.filed[0].endType, c.endType);
            EXPECT_EQ(f.filed[0].moveCount, c.played);
            EXPECT_EQ(f.filed[0].blackName, "alice") << "the names the game started with";
        }
        EXPECT_EQ(capture.game().blackName(), "carol");
        EXPECT_EQ(capture.game().game().moves().size(), 0);
        EXPECT_EQ(capture.game().game().discCount(), 4);
    }
}

// A window read while it is being painted can show a board no move explains; the game goes on
// when the next reading makes sense again.
TEST(TableCapture, ATornReadingDoesNotCostTheGame)
{
    CaptureFixture f;
    TableCapture capture = f.make(snapshotAfter(kGame, 0), true);
    for (int n = 1; n <= 60; ++n) {
        if (n == 31) {
            TableSnapshot torn = snapshotAfter(kGame, n);
            for (uint8_t& cell : torn.cells)
                cell = cell == 1 ? 2 : cell; // every black disc painted white
            capture.snapshotRead(torn, true);
            continue;
        }
        capture.snapshotRead(snapshotAfter(kGame, n), true);
    }
    ASSERT_EQ(f.filed.size(), 1u);
    EXPECT_EQ(f.filed[0].moveCount, 60);
    EXPECT_EQ(f.filed[0].endType, GameRecord::normalEnd);
}

TEST(TableCapture, AGamePickedUpLateIsNeverFiled)
{
    CaptureFixture f;
    TableCapture capture = f.make(snapshotAfter(kGame, 20));
    for (int n = 21; n <= 60; ++n)
        capture.snapshotRead(snapshotAfter(kGame, n), true);
    EXPECT_TRUE(capture.game().over());
    EXPECT_TRUE(capture.unsaved()) << "the save button stays enabled";
    EXPECT_FALSE(capture.save());
    capture.captureTurnedOff();
    EXPECT_TRUE(f.filed.empty());
    EXPECT_EQ(capture.game().moveText().substr(0, 6), "- - - ");
}

TEST(TableCapture, ClaimsOnlyItsOwnTable)
{
    CaptureFixture f;
    TableCapture capture = f.make(snapshotAfter(kGame, 0, "room", 3));
    EXPECT_EQ(capture.table(), 3);
    EXPECT_FALSE(capture.snapshotRead(snapshotAfter(kGame, 1, "room", 4), true).claimed);
    EXPECT_FALSE(capture.snapshotRead(snapshotAfter(kGame, 1, "other", 3), true).claimed);
    EXPECT_EQ(capture.game().game().moves().size(), 0);
    EXPECT_TRUE(capture.snapshotRead(snapshotAfter(kGame, 1, "room", 3), true).claimed);
    EXPECT_EQ(capture.game().game().moves().size(), 1);
}

TEST(TableCapture, RingsOnceWhenTheSecondSeatIsTaken)
{
    CaptureFixture f;
    TableCapture capture = f.make(snapshotAfter(kGame, 0, "room", 1, "alice", ""));
    // Scan by scan: the names read, and whether the bell rings (bell setting on).
    const struct {
        const char* black;
        const char* white;
        bool bell;
    } scans[] = {
        { "alice", "", false },
        { "alice", "bob", true },
        { "alice", "bob", false },
        { "alice", "carol", false },
        { "", "carol", false },
        { "dave", "carol", true },
    };
    for (const auto& s : scans) {
        const auto result
            = capture.snapshotRead(snapshotAfter(kGame, 0, "room", 1, s.black, s.white), true);
        EXPECT_EQ(result.bell, s.bell) << s.black << " " << s.white;
        EXPECT_EQ(capture.shownBlackName(), s.black);
        EXPECT_EQ(capture.shownWhiteName(), s.white);
    }
    capture.snapshotRead(snapshotAfter(kGame, 0, "room", 1, "", "carol"), false);
    EXPECT_FALSE(capture.snapshotRead(snapshotAfter(kGame, 0, "room", 1, "x", "carol"), false).bell)
        << "bell setting off";
}

TEST(TableCapture, ClosesAfterSevenScansWithoutItsTable)
{
    for (const bool autoSave : { true, false }) {
        CaptureFixture f;
        TableCapture capture = f.make(snapshotAfter(kGame, 0), autoSave);
        capture.snapshotRead(snapshotAfter(kGame, 5), true);
        // One scan: the table is announced (or not), then the scan ends.
        const auto scan = [&](bool seen) {
            EXPECT_TRUE(capture.tableSeen("room", 2)) << "every table notice is answered";
            if (seen)
                capture.tableSeen("room", 1);
            return capture.scanEnded();
        };
        EXPECT_FALSE(scan(true));
        for (int missed = 1; missed <= 6; ++missed)
            EXPECT_FALSE(scan(false)) << missed;
        EXPECT_FALSE(scan(true)) << "seen again: the count starts over";
        EXPECT_EQ(capture.lifetime(), 0);
        for (int missed = 1; missed <= 6; ++missed)
            EXPECT_FALSE(scan(false)) << missed;
        EXPECT_TRUE(scan(false)) << "the seventh scan in a row without the table";
        EXPECT_EQ(f.filed.size(), autoSave ? 1u : 0u);
        if (autoSave) {
            EXPECT_EQ(f.filed[0].endType, GameRecord::unfinished);
        }
    }
}

TEST(TableCapture, TurningCaptureOffFilesWithAutoSave)
{
    for (const bool autoSave : { true, false }) {
        CaptureFixture f;
        TableCapture capture = f.make(snapshotAfter(kGame, 0), autoSave);
        capture.snapshotRead(snapshotAfter(kGame, 7), true);
        capture.captureTurnedOff();
        EXPECT_EQ(f.filed.size(), autoSave ? 1u : 0u);
    }
}

} // namespace
