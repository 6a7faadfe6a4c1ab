#include "buildpaths.h"
#include "library/recorddetails.h"

#include "board/movenumbergrid.h"
#include "board/notation.h"
#include "board/othellogame.h"
#include "board/randomgame.h"
#include "board/squares.h"
#include "library/libraryoperations.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "records/openingbook.h"

#include "../records/tempdir.h"
#include "libraryfakes.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <random>

namespace {

std::string sj(const char* utf8)
{
    return cp932::fromUtf8(utf8);
}

// The local date and time of a moment, as year-month-day hour:minute:second.
std::string localText(int32_t moment)
{
    const std::time_t t = moment;
    std::tm local {};
    localtime_r(&t, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

class SavingDetails : public testing::Test {
protected:
    SavingDetails()
    {
        std::filesystem::copy_file(
            std::string(PAVIONE_RES_DIR) + "/opening.txt", dir.file("opening.txt"));
        library.load(dir.path().string() + "/", 0);
        GameRecord record;
        record.name = "game";
        record.blackPlayer = static_cast<int16_t>(own().playerNames().add("alice"));
        record.whitePlayer = static_cast<int16_t>(own().playerNames().add("bob"));
        record.blackDiscs = 36;
        record.whiteDiscs = 28;
        record.winner = GameRecord::blackWins;
        record.endType = GameRecord::normalEnd;
        record.playedAt = localMoment(2004, 5, 6, 7, 8, 9);
        record.deletedAt = 1234;
        record.comment = "one\r\ntwo";
        normaliseMoves(record, textToMoves("E6F4E3F6G5"), library.openingBook());
        slot = own().addRecord(0, record);
        views.shown = { 0, 0 };
    }

    CollectionTree& own() { return library.collection(myRecordsCollection); }
    const GameRecord& saved() const { return library.collection(myRecordsCollection).record(slot); }
    RecordDetails form() { return RecordDetails::of(own(), saved()); }
    bool save(const RecordDetails& details, const MoveList& played)
    {
        return ops.saveEditedRecord(myRecordsCollection, slot, details, played);
    }

    TempDir dir;
    RecordLibrary library;
    Settings settings;
    LibraryLog log;
    RecordingPrompter prompter { log };
    RecordingViews views { log };
    RecordingNotices notices { log };
    LibraryOperations ops { library, settings, prompter, views, notices };
    int slot = -1;
};

TEST(DiscCount, KeepsEightBitsAndZeroesWhatLiesOutsideTheBoard)
{
    const struct {
        const char* text;
        int saved;
    } cases[] = {
        { "0", 0 },
        { "36", 36 },
        { "64", 64 },
        { "65", 0 },
        { "300", 44 },
        { "-1", 0 },
        { "256", 0 },
        { "320", 64 },
        { "", 0 },
        { "abc", 0 },
        { " 12x", 12 },
        { "+7", 7 },
        { "99999999999999999999", 0 },
        { "-200", 56 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(discCountOf(c.text), c.saved) << '"' << c.text << '"';
}

TEST(LocalMoment, NormalisesFieldsOutOfRange)
{
    const struct {
        int64_t year, month, day, hour, minute, second;
        const char* local;
    } cases[] = {
        { 2004, 2, 30, 10, 20, 30, "2004-03-01 10:20:30" },
        { 2003, 2, 29, 0, 0, 0, "2003-03-01 00:00:00" },
        { 2004, 13, 1, 0, 0, 0, "2005-01-01 00:00:00" },
        { 2004, 0, 1, 0, 0, 0, "2003-12-01 00:00:00" },
        { 2004, 1, 1, 24, 0, 0, "2004-01-02 00:00:00" },
        { 2004, 1, 1, 0, 0, -1, "2003-12-31 23:59:59" },
        { 2004, 1, 1, 0, 61, 0, "2004-01-01 01:01:00" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            localText(localMoment(c.year, c.month, c.day, c.hour, c.minute, c.second)), c.local)
            << c.local;
    }
}

TEST(LocalMoment, GivesMinusOneBeyondTheRecordsRange)
{
    EXPECT_EQ(localMoment(2100, 1, 1, 0, 0, 0), -1);
    EXPECT_EQ(localMoment(1800, 1, 1, 0, 0, 0), -1);
    EXPECT_EQ(localMoment(INT64_MAX, INT64_MIN, 1, 0, 0, 0), -1);
    EXPECT_EQ(localMoment(2147483647, 2147483647, 2147483647, 0, 0, 0), -1);
}

TEST_F(SavingDetails, TheFormOpensWithTheRecordAndSavesItUnchanged)
{
    const RecordDetails details = form();
    EXPECT_EQ(details.blackName, "alice");
    EXPECT_EQ(details.whiteName, "bob");
    EXPECT_EQ(details.blackDiscs, "36");
    EXPECT_EQ(details.winner, 1);
    EXPECT_EQ(details.endType, 0);
    EXPECT_EQ(details.year + "/" + details.month + "/" + details.day + " " + details.hour + ":"
            + details.minute + ":" + details.second,
        "2004/5/6 7:8:9");
    EXPECT_EQ(details.comment, "one\r\ntwo");

    const GameRecord before = saved();
    const int names = own().playerNames().size();
    OthelloGame game;
    gameOfRecord(before, game);
    ASSERT_TRUE(save(details, game.moves()));
    const GameRecord& after = saved();
    EXPECT_EQ(after.name, before.name);
    EXPECT_EQ(after.folder, before.folder);
    EXPECT_EQ(after.blackPlayer, before.blackPlayer);
    EXPECT_EQ(after.whitePlayer, before.whitePlayer);
    EXPECT_EQ(after.blackDiscs, before.blackDiscs);
    EXPECT_EQ(after.whiteDiscs, before.whiteDiscs);
    EXPECT_EQ(after.winner, before.winner);
    EXPECT_EQ(after.endType, before.endType);
    EXPECT_EQ(after.playedAt, before.playedAt);
    EXPECT_EQ(after.deletedAt, before.deletedAt);
    EXPECT_EQ(after.comment, before.comment);
    EXPECT_EQ(after.moves, before.moves);
    EXPECT_EQ(after.orientation, before.orientation);
    EXPECT_EQ(after.opening, before.opening);
    EXPECT_EQ(own().playerNames().size(), names);
    EXPECT_EQ(log.entries, (std::vector<std::string> { "row.update 0:" + std::to_string(slot) }));
}

TEST_F(SavingDetails, NewNamesAreAddedBlackFirstAndEmptyNamesAreUnknown)
{
    RecordDetails details = form();
    details.blackName = sj("黒田");
    details.whiteName = sj("白石");
    const int first = own().playerNames().size();
    ASSERT_TRUE(save(details, {}));
    EXPECT_EQ(saved().blackPlayer, first);
    EXPECT_EQ(saved().whitePlayer, first + 1);
    EXPECT_EQ(own().playerNames().name(first), sj("黒田"));

    details.blackName.clear();
    details.whiteName = "alice"; // an existing name is found, not added again
    ASSERT_TRUE(save(details, {}));
    EXPECT_EQ(saved().blackPlayer, 0);
    EXPECT_EQ(saved().whitePlayer, own().playerNames().find("alice"));
    EXPECT_EQ(own().playerNames().size(), first + 2);
}

TEST_F(SavingDetails, WinnerEndTypeDiscsAndDateAreTakenAsEntered)
{
    const struct {
        int winner, endType;
        const char *black, *white;
        int savedWinner, savedEnd, savedBlack, savedWhite;
    } cases[] = {
        { 2, 1, "65", "300", 2, 1, 0, 44 }, { 0, 3, "-1", "", 0, 3, 0, 0 },
        { 7, 4, "33", "31", 0, 4, 33, 31 },
        { 1, -1, "x", "64", 1, 4, 0, 64 }, // no end type chosen keeps the one saved before
    };
    for (const auto& c : cases) {
        RecordDetails details = form();
        details.winner = c.winner;
        details.endType = c.endType;
        details.blackDiscs = c.black;
        details.whiteDiscs = c.white;
        ASSERT_TRUE(save(details, {}));
        EXPECT_EQ(saved().winner, c.savedWinner);
        EXPECT_EQ(saved().endType, c.savedEnd);
        EXPECT_EQ(saved().blackDiscs, c.savedBlack);
        EXPECT_EQ(saved().whiteDiscs, c.savedWhite);
    }
    RecordDetails details = form();
    details.year = "2004";
    details.month = "2";
    details.day = "30";
    details.hour = "12";
    details.minute = "";
    details.second = "5";
    ASSERT_TRUE(save(details, {}));
    EXPECT_EQ(localText(saved().playedAt), "2004-03-01 12:00:05");
}

TEST_F(SavingDetails, AGameEnteredOnTheSheetIsStoredAsItsImportedText)
{
    // Several whole games, each written on the sheet number by number.
    std::mt19937 rng(14);
    for (int round = 0; round < 5; ++round) {
        const MoveList played = randomGame(rng);
        const std::string text = movesToText(played);
        MoveNumberGrid grid;
        int number = 1;
        for (int square : played)
            ASSERT_TRUE(grid.write(board::rowOf(square), board::columnOf(square), number++));
        OthelloGame game;
        grid.replayOnto(game);
        ASSERT_EQ(grid.replayed(), played.size());
        ASSERT_TRUE(save(form(), game.moves()));

        ASSERT_EQ(ops.importLine(myRecordsCollection, 0, text), 0);
        const GameRecord& reference = own().record(own().folder(0).records.back());
        EXPECT_EQ(saved().moves, reference.moves) << text;
        EXPECT_EQ(saved().orientation, reference.orientation);
        EXPECT_EQ(saved().opening, reference.opening);
        EXPECT_EQ(movesToText(playedMoves(saved())), text);
    }
}

TEST_F(SavingDetails, NoLiveRecordNoSave)
{
    own().detachRecord(slot);
    EXPECT_FALSE(save(form(), {}));
    EXPECT_FALSE(ops.saveEditedRecord(myRecordsCollection, 999, form(), {}));
    EXPECT_FALSE(ops.saveEditedRecord(7, slot, form(), {}));
    EXPECT_TRUE(log.entries.empty());
}

} // namespace
