#include "buildpaths.h"
#include "library/libraryoperations.h"

#include "board/notation.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "records/collectionfile.h"
#include "records/openingbook.h"

#include "../records/tempdir.h"
#include "libraryfakes.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

namespace {

using Log = std::vector<std::string>;

std::string sj(const char* utf8)
{
    return cp932::fromUtf8(utf8);
}

std::string utf8(const std::string& bytes)
{
    return cp932::toUtf8(bytes);
}

GameRecord named(std::string name)
{
    GameRecord record;
    record.name = std::move(name);
    return record;
}

class Operations : public testing::Test {
protected:
    Operations()
    {
        std::filesystem::copy_file(
            std::string(PAVIONE_RES_DIR) + "/opening.txt", dir.file("opening.txt"));
        library.load(dir.path().string() + "/", 0);
    }

    CollectionTree& own() { return library.collection(myRecordsCollection); }
    CollectionTree& trash() { return library.collection(trashCollection); }
    CollectionTree& network() { return library.collection(networkCollection); }
    const Log& entries() const { return log.entries; }
    // Names of the records in a folder, in list order, as UTF-8.
    std::vector<std::string> recordNames(const CollectionTree& t, int folder) const
    {
        std::vector<std::string> names;
        for (const int slot : t.folder(folder).records)
            names.push_back(utf8(t.record(slot).name));
        return names;
    }
    std::vector<std::string> folderNames(const CollectionTree& t, int folder) const
    {
        std::vector<std::string> names;
        for (const int child : t.folder(folder).children)
            names.push_back(utf8(t.folder(child).name));
        return names;
    }

    TempDir dir;
    RecordLibrary library;
    Settings settings;
    LibraryLog log;
    RecordingPrompter prompter { log };
    RecordingViews views { log };
    RecordingNotices notices { log };
    LibraryOperations ops { library, settings, prompter, views, notices };
};

TEST_F(Operations, NewFolderTakesTheDefaultNameAndToday)
{
    views.shown = { 0, 0 };
    own().addFolder(0, sj("新しいフォルダ"), 5);
    const int folder = ops.newFolder(0, 0);
    EXPECT_EQ(utf8(own().folder(folder).name), "新しいフォルダ(2)");
    const std::time_t created = own().folder(folder).created;
    std::tm local {};
    localtime_r(&created, &local);
    EXPECT_EQ(local.tm_hour + local.tm_min + local.tm_sec, 0);
    EXPECT_LE(std::time(nullptr) - created, 25 * 3600);
    EXPECT_EQ(entries(), (Log { "tree.insert 0:2", "row.addFolder 0:2" }));

    // Elsewhere than in the shown folder only the tree hears of it; a given name and time stay.
    log.clear();
    const int inner = ops.newFolder(0, folder, std::string("X"), 77);
    EXPECT_EQ(own().folder(inner).name, "X");
    EXPECT_EQ(own().folder(inner).created, 77);
    EXPECT_EQ(entries(), (Log { "tree.insert 0:3" }));
}

TEST_F(Operations, NewRecordIsAnUnfinishedGamePlayedNow)
{
    views.shown = { 2, 0 };
    const int first = ops.newRecord(2, 0);
    const int second = ops.newRecord(2, 0);
    const CollectionTree& yahoo = library.collection(yahooCollection);
    EXPECT_EQ(recordNames(yahoo, 0), (std::vector<std::string> { "新しい棋譜", "新しい棋譜(2)" }));
    EXPECT_EQ(yahoo.record(first).endType, GameRecord::unfinished);
    EXPECT_LE(std::time(nullptr) - yahoo.record(first).playedAt, 5);
    EXPECT_EQ(entries(), (Log { "row.add 2:0", "row.add 2:1" }));
    (void)second;

    // A record from the network comes as it is, with its opening named.
    GameRecord received = named("net");
    received.moves = textToMoves("F5D6C3D3C4B3");
    const int slot = ops.newRecord(2, 0, received);
    EXPECT_EQ(yahoo.record(slot).name, "net");
    EXPECT_EQ(library.openingBook().name(yahoo.record(slot).opening), "Aubrey / Tanaka");
}

TEST_F(Operations, RenamingTellsTheViews)
{
    const int folder = own().addFolder(0, "A", 0);
    const int slot = own().addRecord(folder, named("R"));
    views.shown = { 0, folder };
    ops.renameFolder(0, folder, "B");
    ops.renameRecord(0, slot, "S");
    EXPECT_EQ(own().findChild(0, "B"), folder);
    EXPECT_TRUE(own().nameTaken(folder, "S"));
    EXPECT_EQ(entries(), (Log { "tree.rename 0:1", "row.update 0:0" }));
}

TEST_F(Operations, CheckNameRefusesEmptySeparatorsAndTakenNames)
{
    const int folder = own().addFolder(0, "A", 0);
    own().addRecord(folder, named("R"));
    own().addFolder(folder, "F", 0);
    const std::string badCharacter = "error|棋譜名またはフォルダ名の変更 "
                                     "エラー|棋譜名及びフォルダ名には次の文字は使えません。\r\n"
                                     "\u3000\u3000\u3000\u3000\\ /";
    const std::string taken
        = "error|棋譜名またはフォルダ名の変更 エラー|"
          "指定された棋譜名またはフォルダ名は既に存在します。別の名前を指定して下さい。";
    struct Case {
        std::string name;
        std::string message; // empty: accepted
    };
    const Case cases[] = {
        { "",
            "error|棋譜名またはフォルダ名の変更 "
            "エラー|棋譜名またはフォルダ名が入力されていません。" },
        { "a\\b", badCharacter }, { "a/b", badCharacter },
        { sj("表"), badCharacter }, // its second byte is 5C
        { "R", taken }, { "F", taken }, { "r", "" },
        { "A", "" }, // a name of the parent's level is free inside
    };
    for (const Case& c : cases) {
        log.clear();
        EXPECT_EQ(ops.checkName(0, folder, c.name, &prompter), c.message.empty()) << c.name;
        EXPECT_EQ(entries(), c.message.empty() ? Log {} : Log { c.message }) << c.name;
        log.clear();
        ops.checkName(0, folder, c.name, nullptr);
        EXPECT_TRUE(entries().empty());
    }
}

TEST_F(Operations, CheckShareNameLooksAtEveryLiveFolderOfMyRecords)
{
    const int a = own().addFolder(0, "A", 0);
    const int deep = own().addFolder(own().addFolder(a, "B", 0), "C", 0);
    own().setShare(deep, "used", "");
    const int gone = own().addFolder(0, "gone", 0);
    own().setShare(gone, "free again", "");
    own().removeFolder(gone);
    library.collection(yahooCollection).addFolder(0, "Y", 0);
    library.collection(yahooCollection).setShare(1, "yahoo share", "");

    const std::string title = "error|フォルダの共有 エラー|";
    const std::string bad
        = title + "共有名には次の文字は使えません。\r\n\u3000\u3000\u3000\u3000\\ /";
    const std::pair<std::string, std::string> cases[] = {
        { "", title + "共有名が入力されていません。" },
        { "x/y", bad },
        { sj("ソ"), bad }, // 83 5C
        { "used", title + "指定された共有名には既に使用されています。" },
        { "free again", "" },
        { "yahoo share", "" },
    };
    for (const auto& [name, message] : cases) {
        log.clear();
        EXPECT_EQ(ops.checkShareName(name, &prompter), message.empty()) << name;
        EXPECT_EQ(entries(), message.empty() ? Log {} : Log { message }) << name;
    }
}

TEST_F(Operations, SetShareMarksTheTreeOutsideTheNetwork)
{
    const int a = own().addFolder(0, "A", 0);
    views.shown = { 0, 0 };
    ops.setShare(0, a, std::string("s"), "comment");
    EXPECT_EQ(own().folder(a).shareComment, "comment");
    EXPECT_EQ(own().sharedCount(), 1);
    ops.setShare(0, a, std::nullopt, "ignored");
    EXPECT_TRUE(own().folder(a).shareName.empty());
    EXPECT_TRUE(own().folder(a).shareComment.empty());
    EXPECT_EQ(own().sharedCount(), 0);
    const int computer = network().addFolder(0, "user", 0);
    ops.setShare(1, computer, std::string("s"), "c");
    EXPECT_EQ(entries(),
        (Log { "tree.shared 0:1 on", "row.updateFolder 0:1", "tree.shared 0:1 off",
            "row.updateFolder 0:1" }));
}

TEST_F(Operations, DeletingAFolderMovesItsSubtreeToTheTrashAfterAsking)
{
    const int a = own().addFolder(0, sj("棋譜A"), 100);
    const int b = own().addFolder(a, "B", 200);
    own().setShare(b, "shared", "c");
    own().addRecord(a, named("1"));
    own().addRecord(b, named("2"));
    views.shown = { 0, 0 };

    ops.deleteFolder(0, a);
    EXPECT_EQ(entries(),
        (Log { "confirm|フォルダの削除の確認|フォルダ '棋譜A' "
               "とフォルダ内の棋譜をごみ箱に移動してもよろしいですか?",
            "tree.remove 0:1", "notice 12 00000001 0", "row.reload 0:0" }));
    EXPECT_EQ(own().folder(a).parent, -1);
    EXPECT_TRUE(own().folder(0).children.empty());

    ASSERT_EQ(trash().folder(0).children.size(), 1u);
    const int copy = trash().folder(0).children[0];
    EXPECT_EQ(utf8(trash().folder(copy).name), "棋譜A");
    EXPECT_EQ(trash().folder(copy).created, 100);
    EXPECT_LE(std::time(nullptr) - trash().folder(copy).deletedAt, 5);
    EXPECT_EQ(recordNames(trash(), copy), std::vector<std::string> { "1" });
    const int copyOfB = trash().folder(copy).children.at(0);
    EXPECT_EQ(recordNames(trash(), copyOfB), std::vector<std::string> { "2" });
    EXPECT_TRUE(trash().folder(copyOfB).shareName.empty());
    EXPECT_EQ(trash().sharedCount(), 0);
}

TEST_F(Operations, DeletingAFolderStopsAtNo)
{
    const int a = own().addFolder(0, "A", 0);
    prompter.answers = { false };
    ops.deleteFolder(0, a, 1, 1);
    EXPECT_EQ(entries(),
        (Log { "confirm|フォルダの削除の確認|フォルダ 'A' "
               "とフォルダ内の棋譜を削除してもよろしいですか?" }));
    EXPECT_TRUE(own().folderIsLive(a));
    EXPECT_TRUE(ops.trashIsEmpty());
}

TEST_F(Operations, DeletionFollowsTheSettingsUnlessTold)
{
    const int a = own().addFolder(0, "A", 0);
    const int b = own().addFolder(0, "B", 0);
    settings.delconfirm = 0;
    settings.delforce = 1;
    ops.deleteFolder(0, a); // no question, for good
    EXPECT_EQ(entries(), (Log { "tree.remove 0:1", "notice 12 00000001 0" }));
    EXPECT_TRUE(ops.trashIsEmpty());
    log.clear();
    ops.deleteFolder(0, b, -1, 0); // no question, to the trash
    EXPECT_EQ(entries(), (Log { "tree.remove 0:2", "notice 12 00000002 0" }));
    EXPECT_FALSE(ops.trashIsEmpty());

    // Nothing is deleted from the trash this way, and roots are never deleted.
    log.clear();
    const int inTrash = trash().folder(0).children[0];
    ops.deleteFolder(3, inTrash, 1, 1);
    ops.deleteFolder(0, 0, 1, 1);
    ops.deleteRecord(3, 0, 1, 1);
    EXPECT_TRUE(entries().empty());
    EXPECT_TRUE(trash().folderIsLive(inTrash));
}

TEST_F(Operations, DeletingARecordCopiesItToTheTrash)
{
    const int a = own().addFolder(0, "A", 0);
    const int slot = own().addRecord(a, named("R"));
    views.shown = { 0, a };
    ops.deleteRecord(0, slot);
    EXPECT_EQ(entries(),
        (Log { "confirm|棋譜の削除の確認|棋譜 'R' をごみ箱に移動してもよろしいですか?",
            "notice 13 00000000 0", "row.remove 0:0" }));
    EXPECT_EQ(own().record(slot).folder, -1);
    EXPECT_EQ(recordNames(trash(), 0), std::vector<std::string> { "R" });
    EXPECT_LE(std::time(nullptr) - trash().record(trash().folder(0).records[0]).deletedAt, 5);
}

TEST_F(Operations, DeletingItemsAsksOnceWithTheRightText)
{
    struct Case {
        std::vector<int> records;
        std::vector<int> folders;
        int force;
        std::string question;
    };
    const Case cases[] = {
        { { 0 }, {}, 0, "confirm|棋譜の削除の確認|棋譜 'R0' をごみ箱に移動してもよろしいですか?" },
        { {}, { 1 }, 1,
            "confirm|フォルダの削除の確認|フォルダ 'F1' "
            "とフォルダ内の棋譜を削除してもよろしいですか?" },
        { { 0, 1 }, { 1 }, 0,
            "confirm|複数棋譜の削除の確認|これらの 3 個の棋譜をごみ箱に移動してもよろしいですか?" },
    };
    for (const Case& c : cases) {
        TempDir other;
        RecordLibrary lib;
        lib.load(other.path().string() + "/", 0);
        LibraryOperations o { lib, settings, prompter, views, notices };
        lib.collection(0).addFolder(0, "F1", 0);
        lib.collection(0).addRecord(0, named("R0"));
        lib.collection(0).addRecord(0, named("R1"));
        std::vector<ItemRef> selection;
        for (const int r : c.records)
            selection.push_back(recordItem(r));
        for (const int f : c.folders)
            selection.push_back(folderItem(f));
        log.clear();
        prompter.answers = { false };
        o.deleteItems(0, selection, 1, c.force);
        EXPECT_EQ(entries(), Log { c.question });
        EXPECT_EQ(lib.collection(0).folder(0).records.size(), 2u);
    }
}

TEST_F(Operations, DeletingItemsGoesInSelectionOrder)
{
    const int f = own().addFolder(0, "F", 0);
    const int r0 = own().addRecord(0, named("R0"));
    const int r1 = own().addRecord(0, named("R1"));
    own().addRecord(f, named("inside"));
    views.shown = { 0, 0 };
    ops.deleteItems(0, { recordItem(r1), folderItem(f), recordItem(r0) }, 0, -1);
    EXPECT_EQ(entries(),
        (Log { "notice 13 00000001 0", "tree.remove 0:1", "notice 12 00000001 0",
            "notice 13 00000000 0", "row.reload 0:0" }));
    EXPECT_TRUE(own().folder(0).records.empty());
    EXPECT_TRUE(own().folder(0).children.empty());
    EXPECT_EQ(recordNames(trash(), 0), (std::vector<std::string> { "R1", "R0" }));
    EXPECT_EQ(folderNames(trash(), 0), std::vector<std::string> { "F" });
}

TEST_F(Operations, DeletingFromTheTrashIsForGoodAndAlwaysAsks)
{
    for (const char* name : { "a", "b", "c" })
        trash().addRecord(0, named(name));
    const int folder = trash().addFolder(0, "T", 0);
    settings.delconfirm = 0;
    views.shown = { 3, 0 };
    ops.deleteItems(3, { recordItem(0), recordItem(1), recordItem(2) }, 0, 0);
    EXPECT_EQ(entries(),
        (Log { "confirm|複数棋譜の削除の確認|これらの 3 個の棋譜を削除してもよろしいですか?",
            "notice 13 03000000 0", "notice 13 03000001 0", "notice 13 03000002 0",
            "row.reload 3:0" }));
    EXPECT_TRUE(trash().folder(0).records.empty());
    EXPECT_EQ(trash().slotCount(), 3); // nothing was put in the trash

    log.clear();
    ops.deleteItems(3, { folderItem(folder) }, 0, 0);
    EXPECT_EQ(entries(),
        (Log { "confirm|フォルダの削除の確認|フォルダ 'T' を削除してもよろしいですか?",
            "notice 12 03000001 0", "row.reload 3:0" }));
    EXPECT_TRUE(ops.trashIsEmpty());
}

TEST_F(Operations, AFolderCannotGoIntoItsOwnSubfolder)
{
    const int a = own().addFolder(0, "A", 0);
    const int b = own().addFolder(0, "B", 0);
    const int insideB = own().addFolder(b, "C", 0);
    const std::string error
        = "error|棋譜またはフォルダのコピー エラー|"
          "コピーできません。受け側のフォルダは送り側フォルダのサブフォルダです。";
    // With two folders selected, the check covers the second one too.
    for (const bool move : { true, false }) {
        log.clear();
        ops.moveOrCopy(0, 0, { folderItem(a), folderItem(b) }, 0, insideB, move);
        EXPECT_EQ(entries(), Log { error });
        log.clear();
        ops.moveOrCopy(0, 0, { folderItem(a) }, 0, a, move);
        EXPECT_EQ(entries(), Log { error });
    }
    EXPECT_EQ(own().folderCount(), 4);
    EXPECT_EQ(folderNames(own(), 0), (std::vector<std::string> { "A", "B" }));
}

TEST_F(Operations, AMoveWithinOneFolderIsRefusedButACopyIsNamedAsACopy)
{
    const int a = own().addFolder(0, "A", 0);
    own().addRecord(a, named("R"));
    const int slot = own().addRecord(0, named("X"));
    ops.moveOrCopy(0, 0, { recordItem(slot) }, 0, 0, true);
    EXPECT_EQ(entries(),
        Log { "error|棋譜またはフォルダの移動 "
              "エラー|移動できません。受け側と送り側が同じフォルダです。" });

    log.clear();
    views.shown = { 0, 0 };
    ops.moveOrCopy(0, 0, { folderItem(a), recordItem(slot) }, 0, 0, false);
    EXPECT_EQ(entries(), (Log { "tree.insert 0:2", "row.reload 0:0" }));
    EXPECT_EQ(folderNames(own(), 0), (std::vector<std::string> { "A", "コピー～A" }));
    EXPECT_EQ(recordNames(own(), 0), (std::vector<std::string> { "X", "コピー～X" }));
    EXPECT_EQ(recordNames(own(), 2), std::vector<std::string> { "R" });
}

TEST_F(Operations, AClashAsksOnceAndRenamesTheMovedRecord)
{
    const int target = own().addFolder(0, "T", 0);
    own().addRecord(target, named("X"));
    own().addRecord(target, named("Y"));
    const int x = own().addRecord(0, named("X"));
    const int y = own().addRecord(0, named("Y"));
    const int z = own().addRecord(0, named("Z"));
    views.shown = { 0, 0 };
    ops.moveOrCopy(0, 0, { recordItem(x), recordItem(y), recordItem(z) }, 0, target, true);
    const std::string question
        = "confirm|フォルダと棋譜のコピーの確認|"
          "このフォルダには同名のフォルダまたは棋譜が存在します。\n\n"
          "既に存在するフォルダや棋譜の名前と移動またはコピーしようとしているフォル"
          "ダや棋譜が同じ名前の場合、名前を変更してコピーされます。\n\n"
          "フォルダや棋譜をコピーまたは移動しますか?";
    EXPECT_EQ(entries(),
        (Log { question, "notice 13 00000002 0", "notice 13 00000003 0", "notice 13 00000004 0",
            "row.reload 0:0" }));
    EXPECT_EQ(recordNames(own(), target),
        (std::vector<std::string> { "X", "Y", "コピー～X", "コピー～Y", "Z" }));
    EXPECT_TRUE(own().folder(0).records.empty());

    // "いいえ" changes nothing.
    const int w = own().addRecord(0, named("X"));
    log.clear();
    prompter.answers = { false };
    ops.moveOrCopy(0, 0, { recordItem(w) }, 0, target, true);
    EXPECT_EQ(entries(), Log { question });
    EXPECT_EQ(own().record(w).folder, 0);
}

TEST_F(Operations, MovingAFolderRebuildsItUnsharedInItsNewPlace)
{
    const int a = own().addFolder(0, "A", 0);
    const int shared = own().addFolder(a, "S", 0);
    own().setShare(shared, "s", "c");
    const int target = own().addFolder(0, "T", 0);
    views.shown = { 0, a };
    views.showAfterRemoval = { 0, 0 };
    ops.moveOrCopy(0, a, { folderItem(shared) }, 0, target, true);
    // The list now shows another folder (the tree followed the removal): no reload.
    EXPECT_EQ(entries(), (Log { "tree.remove 0:2", "tree.insert 0:4", "notice 12 00000002 0" }));
    EXPECT_EQ(own().folder(4).parent, target);
    EXPECT_TRUE(own().folder(4).shareName.empty());
    EXPECT_EQ(own().sharedCount(), 0);
    EXPECT_FALSE(own().folderIsLive(shared));
}

TEST_F(Operations, MovingAcrossCollectionsCarriesPlayerNames)
{
    CollectionTree& yahoo = library.collection(yahooCollection);
    GameRecord record = named("game");
    record.blackPlayer = static_cast<int16_t>(yahoo.playerNames().add("black"));
    record.whitePlayer = static_cast<int16_t>(yahoo.playerNames().add("white"));
    const int slot = yahoo.addRecord(0, record);
    own().playerNames().add("white");
    ops.moveOrCopy(2, 0, { recordItem(slot) }, 0, 0, true);
    ASSERT_EQ(own().folder(0).records.size(), 1u);
    const GameRecord& moved = own().record(own().folder(0).records[0]);
    EXPECT_EQ(own().playerNames().name(moved.blackPlayer), "black");
    EXPECT_EQ(moved.whitePlayer, 1);
    EXPECT_EQ(yahoo.record(slot).folder, -1);
    EXPECT_EQ(entries(), Log { "notice 13 02000000 0" });
}

TEST_F(Operations, DropsOnYahooGamesOrTheNetworkDoNothing)
{
    const int slot = own().addRecord(0, named("X"));
    const int folder = own().addFolder(0, "F", 0);
    for (const int target : { yahooCollection, networkCollection }) {
        ops.moveOrCopy(0, 0, { recordItem(slot), folderItem(folder) }, target, 0, true);
        ops.moveOrCopy(0, 0, { recordItem(slot) }, target, 0, false);
    }
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(library.collection(yahooCollection).slotCount(), 0);
    EXPECT_EQ(network().folderCount(), 1);
}

TEST_F(Operations, ADropOnTheTrashDeletesWithoutAsking)
{
    const int slot = own().addRecord(0, named("X"));
    settings.delforce = 1; // the drop moves to the trash whatever the setting
    ops.moveOrCopy(0, 0, { recordItem(slot) }, 3, 0, false);
    EXPECT_EQ(entries(), Log { "notice 13 00000000 0" });
    EXPECT_EQ(recordNames(trash(), 0), std::vector<std::string> { "X" });

    // Within the trash, a drop on another folder deletes for good after asking.
    const int folder = trash().addFolder(0, "F", 0);
    log.clear();
    ops.moveOrCopy(3, 0, { recordItem(0) }, 3, folder, true);
    EXPECT_EQ(entries(),
        (Log { "confirm|棋譜の削除の確認|棋譜 'X' を削除してもよろしいですか?",
            "notice 13 03000000 0" }));
    EXPECT_TRUE(trash().folder(0).records.empty());
}

TEST_F(Operations, EmptyingTheTrashClearsItWithoutAsking)
{
    EXPECT_TRUE(ops.trashIsEmpty());
    trash().addFolder(0, "F", 0);
    EXPECT_FALSE(ops.trashIsEmpty());
    trash().clear();
    trash().addRecord(0, named("R"));
    EXPECT_FALSE(ops.trashIsEmpty());
    views.shown = { 3, 0 };
    ops.emptyTrash();
    EXPECT_TRUE(ops.trashIsEmpty());
    EXPECT_EQ(trash().slotCount(), 0);
    EXPECT_EQ(utf8(trash().folder(0).name), "ごみ箱");
    EXPECT_EQ(entries(), (Log { "notice 12 03000000 0", "row.reload 3:0" }));
}

TEST_F(Operations, ImportFilesEachLineThatGivesMoves)
{
    views.shown = { 0, 0 };
    const ImportResult result = ops.importText(0, 0, "F5D6C3\r\nXX\r\nE6F4");
    EXPECT_EQ(result.filed, 2);
    EXPECT_EQ(result.failed, 1);
    EXPECT_FALSE(result.dropClipboardText());
    EXPECT_EQ(recordNames(own(), 0),
        (std::vector<std::string> { "インポート棋譜", "インポート棋譜(2)" }));
    const GameRecord& first = own().record(own().folder(0).records[0]);
    EXPECT_EQ(movesToText(first.moves), "F5D6C3");
    EXPECT_EQ(first.endType, GameRecord::unfinished);
    EXPECT_LE(std::time(nullptr) - first.playedAt, 5);
    EXPECT_NE(first.opening, -1);
    // E6 F4 is stored turned to start with F5, with the code that turns it back.
    const GameRecord& second = own().record(own().folder(0).records[1]);
    EXPECT_EQ(movesToText(playedMoves(second)), "E6F4");
    EXPECT_EQ(movesToText(second.moves).substr(0, 2), "F5");
    EXPECT_EQ(entries(), (Log { "row.add 0:0", "row.add 0:1" }));

    EXPECT_EQ(ops.importLine(0, 0, "A1"), -1);
    EXPECT_EQ(ops.importLine(0, 0, ""), -1);
    const ImportResult clean = ops.importText(0, 0, "\n\nF5F6\r\r\n");
    EXPECT_EQ(clean.filed, 1);
    EXPECT_TRUE(clean.dropClipboardText());
}

TEST_F(Operations, ALineTooLongEndsTheImport)
{
    const std::string longLine = "F5D6" + std::string(1200, ' ');
    const ImportResult result = ops.importText(0, 0, longLine + "\nF5F6\n");
    EXPECT_EQ(result.filed, 1);
    EXPECT_TRUE(result.stoppedEarly);
    EXPECT_FALSE(result.dropClipboardText());
    EXPECT_EQ(own().folder(0).records.size(), 1u);
}

TEST_F(Operations, ACapturedGameIsFiledUnderAFreeName)
{
    CollectionTree& yahoo = library.collection(yahooCollection);
    yahoo.addRecord(0, named("2024"));
    views.shown = { 2, 0 };
    CapturedGame game;
    game.name = "2024";
    game.blackName = "alice";
    game.moves = textToMoves("F5D6C3D3C4B3C6");
    game.moveCount = 6;
    game.orientation = 2;
    game.winner = GameRecord::blackWins;
    game.endType = GameRecord::resigned;
    game.blackDiscs = 40;
    game.whiteDiscs = 24;
    game.playedAt = 1234;
    const int slot = ops.fileCapturedGame(2, 0, game);
    const GameRecord filed = yahoo.record(slot);
    EXPECT_EQ(utf8(filed.name), "コピー～2024");
    EXPECT_EQ(yahoo.playerNames().name(filed.blackPlayer), "alice");
    EXPECT_EQ(filed.whitePlayer, 0);
    EXPECT_EQ(movesToText(filed.moves), "F5D6C3D3C4B3");
    EXPECT_EQ(filed.orientation, 2);
    EXPECT_EQ(filed.winner, GameRecord::blackWins);
    EXPECT_EQ(filed.blackDiscs, 0); // counts only for a normal end
    EXPECT_EQ(filed.playedAt, 1234);
    EXPECT_EQ(library.openingBook().name(filed.opening), "Aubrey / Tanaka");
    EXPECT_EQ(entries(), Log { "row.add 2:1" });

    game.endType = GameRecord::normalEnd;
    const GameRecord& counted = yahoo.record(ops.fileCapturedGame(2, 0, game));
    EXPECT_EQ(utf8(counted.name), "コピー(2)～2024");
    EXPECT_EQ(counted.blackDiscs, 40);
    EXPECT_EQ(counted.whiteDiscs, 24);
    EXPECT_EQ(counted.blackPlayer, filed.blackPlayer);
}

TEST_F(Operations, EnsurePathMakesWhatIsMissing)
{
    const int a = own().addFolder(0, "A", 0);
    const int b = ops.ensurePath(0, 0, "\\A\\\\B\\");
    EXPECT_EQ(own().folder(b).parent, a);
    EXPECT_EQ(ops.ensurePath(0, 0, "A\\B"), b);
    EXPECT_EQ(ops.ensurePath(0, a, "\\"), a);
    EXPECT_EQ(entries(), Log { "tree.insert 0:2" });
}

TEST_F(Operations, NamesLongerThanAFileCarriesAreCheckedAsTheyAreStored)
{
    // Each name is cut where the file cuts it (never inside a two-byte character); whatever
    // follows the cut does not make a different name.
    const std::string a255(255, 'a');
    const std::string a254(254, 'a');
    struct Case {
        std::string typed;
        std::string stored;
    };
    const Case cases[] = {
        { std::string(300, 'a'), a255 }, { a255 + "tail", a255 },
        { a254 + sj("あ") + "x", a254 }, // a lead byte at 254 stays with its second byte
    };
    for (const Case& c : cases) {
        const int parent = own().addFolder(0, "P" + std::to_string(&c - cases), 0);
        const int made = ops.ensurePath(0, parent, c.typed);
        ASSERT_GE(made, 0);
        EXPECT_EQ(own().folder(made).name, c.stored);
        // Importing into the same path again finds the folder instead of making a twin.
        EXPECT_EQ(ops.ensurePath(0, parent, c.typed), made);
        EXPECT_EQ(own().folder(parent).children.size(), 1u);
        EXPECT_EQ(own().findChild(parent, c.typed), made);
        const int slot = own().addRecord(parent, named(c.typed));
        EXPECT_EQ(own().record(slot).name, c.stored);
        EXPECT_FALSE(ops.checkName(0, parent, c.typed, nullptr)) << c.typed.size();
        EXPECT_FALSE(ops.checkName(0, parent, c.stored, nullptr));
        // A share name longer than the file carries is refused once its cut form is in use.
        own().setShare(made, c.typed, "");
        EXPECT_EQ(own().folder(made).shareName, c.stored);
        EXPECT_FALSE(ops.checkShareName(c.typed, nullptr));
        own().clearShare(made);
    }
    EXPECT_TRUE(ops.checkShareName(std::string(300, 'z'), nullptr));
}

TEST_F(Operations, NewsComesUnderTheNetworkComputers)
{
    CollectionTree news;
    news.ensureRoot("", 0);
    GameRecord first = named("first");
    first.playedAt = 5555;
    news.addRecord(0, first);
    news.addRecord(0, named("second"));
    const int topic = news.addFolder(0, "topic", 10);
    news.setShare(topic, "", "topic comment");
    news.addRecord(news.addFolder(topic, "inner", 11), named("game"));
    news.addFolder(0, "other", 12);
    ASSERT_EQ(saveCollection(dir.file("news.kif"), news.data()), 0);

    ASSERT_TRUE(ops.loadNews());
    ASSERT_EQ(network().folder(0).children.size(), 1u);
    const int folder = network().folder(0).children[0];
    EXPECT_EQ(utf8(network().folder(folder).name), "@Pavione ニュース");
    EXPECT_EQ(utf8(network().folder(folder).shareComment), "Pavione からのニュースです");
    EXPECT_EQ(network().folder(folder).created, 5555);
    EXPECT_EQ(folderNames(network(), folder), (std::vector<std::string> { "topic", "other" }));
    const int copy = network().folder(folder).children[0];
    EXPECT_EQ(network().folder(copy).shareComment, "topic comment");
    EXPECT_TRUE(network().folder(folder).records.empty());
    EXPECT_EQ(network().subtreeCounts(folder).records, 1);
    EXPECT_EQ(entries(), Log { "tree.insert 1:1" });

    std::filesystem::remove(dir.file("news.kif"));
    log.clear();
    EXPECT_FALSE(ops.loadNews());
    writeBytes(dir.file("news.kif"), "not a collection");
    EXPECT_FALSE(ops.loadNews());
    EXPECT_EQ(network().folder(0).children.size(), 1u);
    EXPECT_TRUE(entries().empty());
}

TEST_F(Operations, NetworkComputersFollowTheServer)
{
    const int alice = ops.newFolder(1, 0, std::string("alice"), 1);
    const int bob = ops.newFolder(1, 0, std::string("bob"), 2);
    const int share = ops.newFolder(1, bob, std::string("share"), 3);
    network().addRecord(share, named("r"));
    views.shown = { 1, 0 };
    log.clear();

    ops.setComputerComment("bob", "bob's machine");
    ops.setComputerComment("carol", "nobody");
    EXPECT_EQ(network().folder(bob).shareComment, "bob's machine");
    EXPECT_EQ(entries(), Log { "row.updateFolder 1:2" });

    log.clear();
    settings.delconfirm = 1;
    ops.deleteComputerFolder("bob");
    EXPECT_EQ(entries(), (Log { "tree.remove 1:2", "notice 12 01000002 0", "row.reload 1:0" }));
    EXPECT_TRUE(ops.trashIsEmpty());
    EXPECT_EQ(folderNames(network(), 0), std::vector<std::string> { "alice" });

    log.clear();
    ops.clearNetworkComputers();
    EXPECT_EQ(entries(), (Log { "notice 12 01000000 0", "tree.clear 1:0", "row.reload 1:0" }));
    EXPECT_TRUE(network().folder(0).children.empty());
    EXPECT_FALSE(network().folderIsLive(alice));
    EXPECT_EQ(utf8(network().folder(0).name), "ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ");
}

TEST_F(Operations, AFullFolderTableStopsTheDeletionBeforeAnythingIsLost)
{
    const int a = own().addFolder(0, "A", 0);
    own().addRecord(a, named("kept"));
    while (trash().addFolder(0, std::to_string(trash().folderCount()), 0) >= 0) { }
    ops.deleteFolder(0, a, 0, 0);
    ASSERT_EQ(entries().size(), 1u);
    EXPECT_EQ(entries()[0].rfind("error|Pavione|", 0), 0u);
    EXPECT_TRUE(own().folderIsLive(a));
    EXPECT_EQ(recordNames(own(), a), std::vector<std::string> { "kept" });
}

TEST(FolderKeys, PackCollectionAndIndex)
{
    EXPECT_EQ((FolderKey { 3, 5 }.packed()), 0x03000005u);
    EXPECT_EQ(FolderKey::fromPacked(0x02ABCDEF), (FolderKey { 2, 0xABCDEF }));
    EXPECT_EQ(libraryNoticeKey(1, 7), 0x01000007u);
    EXPECT_FALSE(FolderKey {}.valid());
    EXPECT_TRUE(itemIsFolder(folderItem(4)));
    EXPECT_TRUE(itemIsFolder(0x7F000004));
    EXPECT_FALSE(itemIsFolder(recordItem(4)));
    EXPECT_EQ(itemIndex(folderItem(4)), 4);
    EXPECT_EQ(itemIndex(recordItem(0x7FFFFF)), 0x7FFFFF);
    EXPECT_EQ(itemIndex(0x00FFFFFF), -1); // a signed 24-bit index
}

} // namespace
