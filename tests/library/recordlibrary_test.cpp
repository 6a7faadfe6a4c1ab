#include "buildpaths.h"
#include "library/recordlibrary.h"

#include "board/notation.h"
#include "records/collectionfile.h"
#include "records/openingbook.h"
#include "text/cp932.h"
#include "text/texts.h"

#include "../records/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <filesystem>

namespace {

std::string utf8(const std::string& bytes)
{
    return cp932::toUtf8(bytes);
}

std::string directoryOf(const TempDir& dir)
{
    return dir.path().string() + "/";
}

TEST(RecordLibrary, AFirstStartGivesFourEmptyRootsAndSavesThreeFiles)
{
    TempDir dir;
    RecordLibrary library;
    const LibraryLoadReport report = library.load(directoryOf(dir), 777);
    EXPECT_TRUE(report.unreadableFiles.empty());
    EXPECT_TRUE(report.keptCopies.empty());

    const char* roots[] = { "マイ 棋譜集", "ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ", "Yahoo! Games", "ごみ箱" };
    const char* displayNames[] = { "マイ 棋譜集", "ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ", "", "ごみ箱" };
    const int32_t created[] = { 777, 0, 1, 1 };
    for (int c = 0; c < collectionCount; ++c) {
        const CollectionTree& t = library.collection(c);
        ASSERT_EQ(t.folderCount(), 1) << c;
        EXPECT_EQ(utf8(t.folder(0).name), roots[c]);
        EXPECT_EQ(utf8(t.displayName()), displayNames[c]);
        EXPECT_EQ(t.folder(0).created, created[c]);
        EXPECT_EQ(t.folder(0).parent, -1);
        EXPECT_EQ(t.slotCount(), 0);
        EXPECT_EQ(t.playerNames().size(), 1);
    }

    EXPECT_TRUE(library.saveAll().empty());
    for (const char* name : { "private.kif", "yahoo.kif", "dustbox.kif" })
        EXPECT_EQ(readBytes(dir.file(name)).size(), 21u) << name;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                  std::filesystem::directory_iterator()),
        3);
}

TEST(RecordLibrary, StoredCollectionsComeBackWithTheirOpenings)
{
    TempDir dir;
    std::filesystem::copy_file(
        std::string(PAVIONE_RES_DIR) + "/opening.txt", dir.file("opening.txt"));
    CollectionTree stored;
    stored.ensureRoot("ignored", 9);
    const int folder = stored.addFolder(0, "A", 5);
    GameRecord record;
    record.name = "R";
    record.moves = textToMoves("F5D6C3D3C4B3");
    record.blackPlayer = static_cast<int16_t>(stored.playerNames().add("P"));
    stored.addRecord(folder, record);
    ASSERT_EQ(saveCollection(dir.file("yahoo.kif"), stored.data()), 0);

    RecordLibrary library;
    library.load(directoryOf(dir), 777);
    const CollectionTree& yahoo = library.collection(yahooCollection);
    EXPECT_EQ(utf8(yahoo.folder(0).name), "Yahoo! Games");
    EXPECT_EQ(yahoo.folder(0).created, 0); // a loaded root was never stored with a time
    ASSERT_EQ(yahoo.folderCount(), 2);
    EXPECT_TRUE(yahoo.nameTaken(0, "A"));
    const GameRecord& loaded = yahoo.record(yahoo.folder(1).records.at(0));
    EXPECT_EQ(library.openingBook().name(loaded.opening), "Aubrey / Tanaka");
    EXPECT_EQ(yahoo.playerNames().name(loaded.blackPlayer), "P");
}

TEST(RecordLibrary, AnUnreadableFileIsKeptBesideBeforeAnySave)
{
    TempDir dir;
    writeBytes(dir.file("private.kif"), "garbage, not a collection");
    writeBytes(dir.file("private.kif.bad"), "an older copy");
    RecordLibrary library;
    const LibraryLoadReport report = library.load(directoryOf(dir), 777);
    EXPECT_EQ(report.unreadableFiles, std::vector<std::string> { dir.file("private.kif") });
    EXPECT_EQ(report.keptCopies, std::vector<std::string> { dir.file("private.kif.bad2") });
    EXPECT_EQ(readBytes(dir.file("private.kif.bad2")), "garbage, not a collection");
    EXPECT_EQ(readBytes(dir.file("private.kif.bad")), "an older copy");

    const CollectionTree& own = library.collection(myRecordsCollection);
    EXPECT_EQ(utf8(own.folder(0).name), "マイ 棋譜集");
    EXPECT_EQ(own.folder(0).created, 777);

    EXPECT_TRUE(library.saveAll().empty());
    EXPECT_EQ(readBytes(dir.file("private.kif")).size(), 21u);
    EXPECT_EQ(readBytes(dir.file("private.kif.bad2")), "garbage, not a collection");
}

TEST(RecordLibrary, ACollectionCutShortKeepsWhatWasRead)
{
    TempDir dir;
    CollectionTree stored;
    stored.ensureRoot("", 0);
    stored.addFolder(0, "kept folder", 5);
    for (int i = 0; i < 10; ++i) {
        GameRecord record;
        record.name = "record " + std::to_string(i);
        stored.addRecord(1, record);
    }
    ASSERT_EQ(saveCollection(dir.file("dustbox.kif"), stored.data()), 0);
    const std::string bytes = readBytes(dir.file("dustbox.kif"));
    writeBytes(dir.file("dustbox.kif"), bytes.substr(0, bytes.size() - 40));

    RecordLibrary library;
    const LibraryLoadReport report = library.load(directoryOf(dir), 0);
    EXPECT_EQ(report.keptCopies, std::vector<std::string> { dir.file("dustbox.kif.bad") });
    const CollectionTree& trash = library.collection(trashCollection);
    EXPECT_EQ(utf8(trash.folder(0).name), "ごみ箱");
    EXPECT_EQ(trash.folderCount(), 2);
    EXPECT_TRUE(trash.nameTaken(0, "kept folder"));
}

TEST(RecordLibrary, SaveAllNamesEveryFileItCouldNotWrite)
{
    TempDir dir;
    // A collection "file" that is a directory can be neither read nor kept: the library never
    // writes over it, and says so at every save.
    std::filesystem::create_directory(dir.file("private.kif"));
    RecordLibrary library;
    const LibraryLoadReport report = library.load(directoryOf(dir), 0);
    EXPECT_EQ(report.unreadableFiles, std::vector<std::string> { dir.file("private.kif") });
    EXPECT_TRUE(report.keptCopies.empty());
    EXPECT_EQ(library.saveAll(), (std::vector<SaveFailure> { { dir.file("private.kif"), 0 } }));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("private.kif")));
    EXPECT_EQ(readBytes(dir.file("yahoo.kif")).size(), 21u);

    RecordLibrary elsewhere;
    const std::string missing = dir.file("no such directory") + "/";
    elsewhere.load(missing, 0);
    EXPECT_EQ(elsewhere.saveAll(),
        (std::vector<SaveFailure> { { missing + "private.kif", ENOENT },
            { missing + "yahoo.kif", ENOENT }, { missing + "dustbox.kif", ENOENT } }));
}

TEST(RecordLibrary, AFileHeldBackIsWrittenOnceTheObstacleIsGone)
{
    namespace fs = std::filesystem;
    struct Case {
        const char* what;
        // Done to the directory that stood as "private.kif" after the first save failed.
        void (*clearObstacle)(const TempDir& dir);
        std::string keptCopy; // what "private.kif.bad" then holds; empty: no copy
    };
    const Case cases[] = {
        { "moved away", [](const TempDir& dir) { fs::remove(dir.file("private.kif")); }, "" },
        { "replaced by an unreadable file",
            [](const TempDir& dir) {
                fs::remove(dir.file("private.kif"));
                writeBytes(dir.file("private.kif"), "still garbage");
            },
            "still garbage" },
    };
    for (const Case& c : cases) {
        TempDir dir;
        fs::create_directory(dir.file("private.kif"));
        RecordLibrary library;
        library.load(directoryOf(dir), 0);
        library.collection(myRecordsCollection).addFolder(0, "new games", 0);
        EXPECT_EQ(library.saveAll(), (std::vector<SaveFailure> { { dir.file("private.kif"), 0 } }))
            << c.what;
        c.clearObstacle(dir);
        std::vector<std::string> kept;
        EXPECT_TRUE(library.saveAll(&kept).empty()) << c.what;
        EXPECT_EQ(kept.size(), c.keptCopy.empty() ? 0u : 1u) << c.what;
        RecordCollection saved;
        ASSERT_EQ(loadCollection(dir.file("private.kif"), saved, OpeningBook {}), 0) << c.what;
        ASSERT_EQ(saved.folders.size(), 2u) << c.what;
        EXPECT_EQ(saved.folders[1].name, "new games");
        if (c.keptCopy.empty())
            EXPECT_FALSE(fs::exists(dir.file("private.kif.bad"))) << c.what;
        else
            EXPECT_EQ(readBytes(dir.file("private.kif.bad")), c.keptCopy) << c.what;
    }
}

TEST(SaveFailureReason, SaysWhyInWords)
{
    EXPECT_EQ(&saveFailureReason({ "p", 0 }), &texts::saveReasonUnreadableNotKept);
    EXPECT_EQ(&saveFailureReason({ "p", ENOENT }), &texts::saveReasonNoFolder);
    EXPECT_EQ(&saveFailureReason({ "p", EISDIR }), &texts::saveReasonFolderInTheWay);
    EXPECT_EQ(&saveFailureReason({ "p", EACCES }), &texts::saveReasonReadOnlyFolder);
    EXPECT_EQ(&saveFailureReason({ "p", EROFS }), &texts::saveReasonReadOnlyFolder);
    EXPECT_EQ(&saveFailureReason({ "p", ENOSPC }), &texts::saveReasonDiskFull);
    EXPECT_EQ(&saveFailureReason({ "p", EIO }), &texts::saveReasonOther);
}

TEST(LibraryTexts, AreTheExactCp932Bytes)
{
    EXPECT_EQ(RecordLibrary::fileNameOf(myRecordsCollection), "private.kif");
    EXPECT_EQ(RecordLibrary::fileNameOf(networkCollection), "");
    EXPECT_EQ(RecordLibrary::fileNameOf(yahooCollection), "yahoo.kif");
    EXPECT_EQ(RecordLibrary::fileNameOf(trashCollection), "dustbox.kif");
    // Four ideographic spaces (81 40), then backslash, space, slash; the copy tilde is 81 60.
    const std::string& refusal = texts::nameBadCharacter.bytes();
    EXPECT_EQ(refusal.substr(refusal.size() - 13), "\r\n\x81\x40\x81\x40\x81\x40\x81\x40\\ /");
    EXPECT_EQ(texts::copyNumbered.bytes(), "\x83\x52\x83\x73\x81\x5B(%d)\x81\x60%s");
}

} // namespace
