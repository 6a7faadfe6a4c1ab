#include "board/notation.h"
#include "records/collectionfile.h"
#include "text/cp932.h"

#include "tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const OpeningBook kNoOpenings;

std::string sjis(const char* utf8)
{
    return cp932::fromUtf8(utf8);
}

RecordCollection rootOnly()
{
    RecordCollection c;
    c.folders.emplace_back();
    return c;
}

int addFolder(RecordCollection& c, int parent, std::string name)
{
    RecordFolder f;
    f.parent = int16_t(parent);
    f.name = std::move(name);
    f.created = 1000 + int(c.folders.size());
    c.folders.push_back(std::move(f));
    const int index = int(c.folders.size()) - 1;
    if (parent >= 0)
        c.folders[size_t(parent)].children.push_back(index);
    return index;
}

int addRecord(RecordCollection& c, int folder, GameRecord r)
{
    r.folder = int16_t(folder);
    c.records.push_back(std::move(r));
    const int slot = int(c.records.size()) - 1;
    if (folder >= 0)
        c.folders[size_t(folder)].records.push_back(slot);
    return slot;
}

// Little-endian bytes, for files made by hand.
std::string le(int64_t value, int width)
{
    std::string s;
    for (int i = 0; i < width; ++i)
        s += char((value >> (8 * i)) & 0xFF);
    return s;
}

std::string folderEntry(const std::string& name, int parent)
{
    return le(int64_t(name.size()), 1) + le(0, 3) + name + le(parent, 2) + le(5, 4) + le(0, 4);
}

std::string recordEntry(const std::string& name, int folder, int black, int white)
{
    return le(int64_t(name.size()), 1) + le(0, 4) + name + le(folder, 2) + le(black, 2)
        + le(white, 2) + le(0, 8) + std::string(5, '\0') + std::string(60, '\0');
}

TEST(CollectionFile, EmptyCollectionIsHeaderAndThreeZeros)
{
    TempDir dir;
    const std::string path = dir.file("empty.kif");
    ASSERT_EQ(saveCollection(path, rootOnly()), 0);
    EXPECT_EQ(readBytes(path), std::string("NKIF-1.0\n") + std::string(12, '\0'));

    RecordCollection loaded;
    ASSERT_EQ(loadCollection(path, loaded, kNoOpenings), 0);
    EXPECT_EQ(loaded.version, 10);
    ASSERT_EQ(loaded.folders.size(), 1u);
    EXPECT_EQ(loaded.folders[0].parent, -1);
    EXPECT_EQ(loaded.names.size(), 1);
    EXPECT_TRUE(loaded.records.empty());
}

TEST(CollectionFile, FieldsSurviveSavingAndLoading)
{
    RecordCollection c = rootOnly();
    const int a = addFolder(c, 0, sjis("定石集"));
    const int b = addFolder(c, a, "B");
    c.folders[size_t(b)].shareName = "share";
    c.folders[size_t(b)].shareComment = sjis("共有です");
    c.folders[size_t(b)].deletedAt = 77;
    const int tanaka = c.names.add(sjis("田中"));
    const int suzuki = c.names.add("Suzuki");
    GameRecord r;
    r.name = std::string(150, 'n');
    r.comment = std::string(100, 'c') + "\r\n" + std::string(98, 'd');
    r.blackPlayer = int16_t(tanaka);
    r.whitePlayer = int16_t(suzuki);
    r.blackDiscs = 64;
    r.whiteDiscs = 0;
    r.winner = 1;
    r.endType = 0;
    r.orientation = 9;
    r.playedAt = -5;
    r.deletedAt = 123456789;
    r.moves = textToMoves("F5D6C3D3C4F4F6");
    addRecord(c, b, r);
    GameRecord plain;
    plain.name = "second";
    addRecord(c, 0, plain);

    TempDir dir;
    ASSERT_EQ(saveCollection(dir.file("c.kif"), c), 0);
    RecordCollection loaded;
    ASSERT_EQ(loadCollection(dir.file("c.kif"), loaded, kNoOpenings), 0);
    ASSERT_EQ(loaded.folders.size(), 3u);
    EXPECT_EQ(loaded.folders[1].name, sjis("定石集"));
    EXPECT_EQ(loaded.folders[1].created, 1001);
    EXPECT_EQ(loaded.folders[2].parent, 1);
    EXPECT_EQ(loaded.folders[2].shareComment, sjis("共有です"));
    EXPECT_EQ(loaded.folders[2].deletedAt, 77);
    EXPECT_EQ(loaded.folders[0].children, std::vector<int> { 1 });
    EXPECT_EQ(loaded.folders[1].children, std::vector<int> { 2 });
    EXPECT_EQ(loaded.folders[2].records, std::vector<int> { 0 });
    EXPECT_EQ(loaded.folders[0].records, std::vector<int> { 1 });
    EXPECT_EQ(loaded.sharedCount, 1);
    ASSERT_EQ(loaded.records.size(), 2u);
    const GameRecord& got = loaded.records[0];
    EXPECT_EQ(got.name, r.name);
    EXPECT_EQ(got.comment, r.comment);
    EXPECT_EQ(loaded.names.name(got.blackPlayer), sjis("田中"));
    EXPECT_EQ(loaded.names.name(got.whitePlayer), "Suzuki");
    EXPECT_EQ(got.blackDiscs, 64);
    EXPECT_EQ(got.winner, 1);
    EXPECT_EQ(got.endType, 0);
    EXPECT_EQ(got.orientation, 9);
    EXPECT_EQ(got.playedAt, -5);
    EXPECT_EQ(got.deletedAt, 123456789);
    EXPECT_EQ(got.moves, r.moves);
    EXPECT_EQ(got.folder, 2);
    EXPECT_EQ(loaded.records[1].endType, GameRecord::unfinished);
}

TEST(CollectionFile, DeadEntriesAreWrittenAndDroppedAtTheNextLoad)
{
    RecordCollection c = rootOnly();
    const int gone = addFolder(c, 0, "gone");
    const int kept = addFolder(c, 0, "kept");
    const int child = addFolder(c, gone, "child of gone");
    c.folders[size_t(gone)].parent = -1; // removed with its subtree, as the library does
    c.folders[size_t(child)].parent = -1;
    c.folders[0].children = { kept };
    const int unused = c.names.add("nobody");
    const int used = c.names.add("somebody");
    GameRecord free;
    free.name = "free slot";
    free.blackPlayer = int16_t(unused);
    addRecord(c, -1, free);
    GameRecord live;
    live.name = "live";
    live.whitePlayer = int16_t(used);
    addRecord(c, kept, live);

    TempDir dir;
    ASSERT_EQ(saveCollection(dir.file("first.kif"), c), 0);
    RecordCollection loaded;
    ASSERT_EQ(loadCollection(dir.file("first.kif"), loaded, kNoOpenings), 0);
    ASSERT_EQ(loaded.folders.size(), 2u);
    EXPECT_EQ(loaded.folders[1].name, "kept");
    ASSERT_EQ(loaded.records.size(), 1u);
    EXPECT_EQ(loaded.records[0].name, "live");
    EXPECT_EQ(loaded.records[0].folder, 1);
    EXPECT_EQ(loaded.names.size(), 2);
    EXPECT_EQ(loaded.records[0].whitePlayer, 1);
    EXPECT_EQ(loaded.names.name(1), "somebody");

    // Once clean, a collection is written the same way every time.
    ASSERT_EQ(saveCollection(dir.file("second.kif"), loaded), 0);
    RecordCollection again;
    ASSERT_EQ(loadCollection(dir.file("second.kif"), again, kNoOpenings), 0);
    ASSERT_EQ(saveCollection(dir.file("third.kif"), again), 0);
    EXPECT_EQ(readBytes(dir.file("second.kif")), readBytes(dir.file("third.kif")));
    EXPECT_LT(readBytes(dir.file("second.kif")).size(), readBytes(dir.file("first.kif")).size());
}

TEST(CollectionFile, OtherHeaderVersionsLoadAlike)
{
    struct HeaderCase {
        const char* header;
        int result;
        int version;
    };
    const HeaderCase cases[] = { { "NKIF-1.0\n", 0, 10 }, { "NKIF-2.3\n", 0, 23 },
        { "NKIF- 2. 3 extra\n", 0, 23 }, { "NKIF-1.0\r\n", 0, 10 }, { "NKIF-1\n", -1, 0 },
        { "NKIF-x.0\n", -1, 0 }, { "nkif-1.0\n", -1, 0 }, { "", -1, 0 } };
    for (const HeaderCase& h : cases) {
        RecordCollection c;
        EXPECT_EQ(
            readCollection(std::string(h.header) + std::string(12, '\0'), c, kNoOpenings), h.result)
            << h.header;
        if (h.result == 0) {
            EXPECT_EQ(c.version, h.version) << h.header;
            EXPECT_EQ(c.folders.size(), 1u);
        }
    }
}

TEST(CollectionFile, FileCutShortKeepsWhatWasRead)
{
    const std::string whole = "NKIF-1.0\n" + le(2, 4) + folderEntry("A", 0) + folderEntry("B", 1)
        + le(1, 4) + le(3, 1) + "abc" + le(2, 4) + recordEntry("r1", 2, 1, 0)
        + recordEntry("r2", 1, 0, 0);
    RecordCollection c;
    ASSERT_EQ(readCollection(whole, c, kNoOpenings), 0);
    EXPECT_EQ(c.records.size(), 2u);

    // Every cut loads without harm; one inside the second record keeps the first.
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        RecordCollection partial;
        EXPECT_EQ(readCollection(whole.substr(0, cut), partial, kNoOpenings), -1) << cut;
        for (const GameRecord& r : partial.records)
            ASSERT_LT(size_t(r.folder), partial.folders.size());
    }
    RecordCollection partial;
    EXPECT_EQ(readCollection(whole.substr(0, whole.size() - 10), partial, kNoOpenings), -1);
    ASSERT_EQ(partial.folders.size(), 3u);
    ASSERT_EQ(partial.records.size(), 1u);
    EXPECT_EQ(partial.records[0].name, "r1");
    EXPECT_EQ(partial.names.name(partial.records[0].blackPlayer), "abc");
}

TEST(CollectionFile, HugeCountsAreShortReads)
{
    for (const std::string& body : { le(0x7FFFFFFF, 4), le(0, 4) + le(0x7FFFFFFF, 4),
             le(0, 4) + le(0, 4) + le(0x7FFFFFFF, 4), le(-5, 4) + le(-1, 4) + le(-9, 4) }) {
        RecordCollection c;
        const int result = readCollection("NKIF-1.0\n" + body, c, kNoOpenings);
        EXPECT_EQ(result, body.size() == 12 && body[0] == char(-5) ? 0 : -1);
        EXPECT_TRUE(c.records.empty());
    }
}

TEST(CollectionFile, FoldersPastTheSixteenBitIndexAreLeftOut)
{
    // Entries 1..entries under the root, the last one under lastParent, and a record in the last
    // folder the 16-bit fields can name.
    struct Case {
        int entries;
        int lastParent;
        int result;
    };
    const Case cases[] = { { 32767, 0, 0 }, { 32768, -1, 0 }, { 32768, 0, -1 }, { 40000, 0, -1 } };
    for (const Case& k : cases) {
        std::string file = "NKIF-1.0\n" + le(k.entries, 4);
        for (int i = 1; i <= k.entries; ++i)
            file += folderEntry("f" + std::to_string(i), i == k.entries ? k.lastParent : 0);
        file += le(0, 4) + le(1, 4) + recordEntry("last", kMaxFolderIndex, 0, 0);
        RecordCollection c;
        EXPECT_EQ(readCollection(file, c, kNoOpenings), k.result) << k.entries;
        ASSERT_EQ(c.folders.size(), size_t(kMaxFolderIndex) + 1) << k.entries;
        EXPECT_EQ(c.folders.back().name, "f32767");
        ASSERT_EQ(c.records.size(), 1u);
        EXPECT_EQ(c.records[0].folder, kMaxFolderIndex);
        EXPECT_EQ(c.folders.back().records, std::vector<int> { 0 });
    }
}

TEST(CollectionFile, HugeAndGarbageFilesStopAtTheHeader)
{
    // Sizes past the start are holes: the file claims the size but holds nothing on the disk.
    constexpr uintmax_t kHuge = uintmax_t(200) << 30;
    struct Case {
        const char* what;
        std::string start;
        uintmax_t size;
        int result;
        size_t folders;
    };
    const Case cases[] = { { "holes", "", kHuge, -1, 0 },
        { "written zeros", std::string(size_t(1) << 22, '\0'), uintmax_t(1) << 22, -1, 0 },
        { "text", "not a collection\n", kHuge, -1, 0 },
        // Three zero counts: an empty collection, and the rest of the file is never read.
        { "header, then holes", "NKIF-1.0\n", kHuge, 0, 1 } };
    TempDir dir;
    for (const Case& k : cases) {
        const std::string path = dir.file("huge.kif");
        writeBytes(path, k.start);
        std::filesystem::resize_file(path, k.size);
        RecordCollection c;
        EXPECT_EQ(loadCollection(path, c, kNoOpenings), k.result) << k.what;
        EXPECT_EQ(c.folders.size(), k.folders) << k.what;
        EXPECT_TRUE(c.records.empty()) << k.what;
    }
}

TEST(CollectionFile, BrokenLinksAreCutOff)
{
    // Folders: 1 under root, 2 under a parent past the table, 3 and 4 parents of each other,
    // 5 its own parent, 6 under 1. Records point at each, at a folder past the table and at bad
    // player indices.
    std::string file = "NKIF-1.0\n" + le(6, 4) + folderEntry("one", 0) + folderEntry("two", 40)
        + folderEntry("three", 4) + folderEntry("four", 3) + folderEntry("five", 5)
        + folderEntry("six", 1) + le(1, 4) + le(1, 1) + "p";
    const int folders[] = { 1, 2, 3, 4, 5, 6, 99, 0 };
    file += le(8, 4);
    for (int f : folders)
        file += recordEntry("in" + std::to_string(f), f, f == 6 ? 1 : 500, -3);
    RecordCollection c;
    ASSERT_EQ(readCollection(file, c, kNoOpenings), 0);
    ASSERT_EQ(c.folders.size(), 3u);
    EXPECT_EQ(c.folders[1].name, "one");
    EXPECT_EQ(c.folders[2].name, "six");
    EXPECT_EQ(c.folders[2].parent, 1);
    std::vector<std::string> names;
    for (const GameRecord& r : c.records)
        names.push_back(r.name);
    EXPECT_EQ(names, (std::vector<std::string> { "in1", "in6", "in0" }));
    EXPECT_EQ(c.records[0].blackPlayer, 0);
    EXPECT_EQ(c.records[0].whitePlayer, 0);
    EXPECT_EQ(c.names.name(c.records[1].blackPlayer), "p");
    EXPECT_EQ(c.folders[0].records, (std::vector<int> { 2 }));
    EXPECT_EQ(c.folders[2].records, (std::vector<int> { 1 }));
}

TEST(CollectionFile, LongTextsAreCutToTheirFields)
{
    RecordCollection c = rootOnly();
    const int f = addFolder(c, 0, std::string(300, 'f'));
    GameRecord r;
    r.name = std::string(254, 'x') + sjis("名"); // 256 bytes: the last character goes whole
    r.comment = std::string(70000, 'c');
    addRecord(c, f, r);
    TempDir dir;
    ASSERT_EQ(saveCollection(dir.file("long.kif"), c), 0);
    RecordCollection loaded;
    ASSERT_EQ(loadCollection(dir.file("long.kif"), loaded, kNoOpenings), 0);
    EXPECT_EQ(loaded.folders[1].name, std::string(255, 'f'));
    EXPECT_EQ(loaded.records[0].name, std::string(254, 'x'));
    EXPECT_EQ(loaded.records[0].comment.size(), 65535u);
}

TEST(CollectionFile, MissingFileFailsAndLeavesTheCollectionEmpty)
{
    RecordCollection c;
    EXPECT_EQ(loadCollection("/nonexistent/dir/private.kif", c, kNoOpenings), -1);
    EXPECT_TRUE(c.folders.empty());
    TempDir dir;
    EXPECT_EQ(loadCollection(dir.path().string(), c, kNoOpenings), -1);
}

TEST(CollectionFile, FailedSaveLeavesTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    RecordCollection c = rootOnly();
    addFolder(c, 0, "x");
    // The target is a directory: the rename over it fails after everything was written.
    std::filesystem::create_directory(dir.file("taken.kif"));
    int error = 0;
    EXPECT_EQ(saveCollection(dir.file("taken.kif"), c, &error), -1);
    EXPECT_EQ(error, EISDIR);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.kif")));
    EXPECT_EQ(saveCollection(dir.file("missing/sub.kif"), c, &error), -1);
    EXPECT_EQ(error, ENOENT);

    ASSERT_EQ(saveCollection(dir.file("private.kif"), c), 0);
    const std::string old = readBytes(dir.file("private.kif"));
    addFolder(c, 0, "y");
    ASSERT_EQ(saveCollection(dir.file("private.kif"), c), 0);
    EXPECT_NE(readBytes(dir.file("private.kif")), old);

    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string> { "private.kif", "taken.kif" }));
}

TEST(CollectionFile, SavesKeepTheFileItsModeAndItsOwner)
{
    namespace fs = std::filesystem;
    struct Case {
        const char* what;
        mode_t mode;
        const char* link; // how "data/private.kif" leads to the file; empty: it is the file
    };
    const Case cases[] = {
        { "private file", 0600, "" },
        { "group readable", 0640, "" },
        { "absolute link", 0604, "abs" },
        { "relative link", 0600, "../elsewhere/real.kif" },
    };
    for (const Case& c : cases) {
        TempDir dir;
        fs::create_directory(dir.file("data"));
        fs::create_directory(dir.file("elsewhere"));
        const std::string shown = dir.file("data/private.kif");
        const std::string real
            = std::string(c.link).empty() ? shown : dir.file("elsewhere/real.kif");
        if (std::string(c.link) == "abs")
            fs::create_symlink(real, shown);
        else if (*c.link)
            fs::create_symlink(c.link, shown);
        RecordCollection data = rootOnly();
        ASSERT_EQ(saveCollection(shown, data), 0) << c.what;
        ASSERT_EQ(::chmod(real.c_str(), c.mode), 0);
        // Another owner can be given only by the super-user.
        const bool chowned = ::geteuid() == 0 && ::chown(real.c_str(), 12345, 23456) == 0;
        addFolder(data, 0, "new");
        ASSERT_EQ(saveCollection(shown, data), 0) << c.what;

        struct stat st;
        ASSERT_EQ(::stat(real.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.mode) << c.what;
        if (chowned) {
            EXPECT_EQ(st.st_uid, 12345u) << c.what;
            EXPECT_EQ(st.st_gid, 23456u) << c.what;
        }
        EXPECT_EQ(fs::is_symlink(shown), *c.link != 0) << c.what;
        RecordCollection loaded;
        ASSERT_EQ(loadCollection(real, loaded, kNoOpenings), 0) << c.what;
        EXPECT_EQ(loaded.folders.size(), 2u) << c.what;
        // No temporary file is left in either directory.
        for (const char* sub : { "data", "elsewhere" }) {
            for (const auto& entry : fs::directory_iterator(dir.file(sub)))
                EXPECT_EQ(entry.path().string().find(".tmp."), std::string::npos) << c.what;
        }
    }
}

} // namespace
