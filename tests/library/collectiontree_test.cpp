#include "library/collectiontree.h"

#include "text/cp932.h"

#include <gtest/gtest.h>

#include <random>

namespace {

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

struct Tree : CollectionTree {
    Tree() { ensureRoot(sj("マイ 棋譜集"), 0); }
};

// The name test as a scan of the folder, to check the index against.
bool takenByScan(const CollectionTree& t, int folder, const std::string& name)
{
    for (const int child : t.folder(folder).children) {
        if (t.folder(child).name == name)
            return true;
    }
    for (const int slot : t.folder(folder).records) {
        if (t.record(slot).name == name)
            return true;
    }
    return false;
}

// The unique-name search tried from the start every time.
std::string uniqueByScan(const CollectionTree& t, int folder, const std::string& base)
{
    if (!takenByScan(t, folder, base))
        return base;
    std::string name = sj("コピー～") + base;
    for (int n = 2; takenByScan(t, folder, name); ++n)
        name = sj("コピー(") + std::to_string(n) + sj(")～") + base;
    return name;
}

TEST(CollectionTree, NewFolderNamesCountUpPastTakenNames)
{
    Tree t;
    t.addFolder(0, sj("新しいフォルダ"), 0);
    t.addFolder(0, sj("新しいフォルダ(2)"), 0);
    EXPECT_EQ(utf8(t.uniqueName(0, {}, NameStyle::newFolder)), "新しいフォルダ(3)");

    // A record of that name blocks it just as a folder does.
    const int a = t.addFolder(0, "A", 0);
    t.addRecord(a, named(sj("新しいフォルダ")));
    EXPECT_EQ(utf8(t.uniqueName(a, {}, NameStyle::newFolder)), "新しいフォルダ(2)");
    EXPECT_EQ(utf8(t.uniqueName(a, {}, NameStyle::newRecord)), "新しい棋譜");
    t.addRecord(a, named(sj("新しい棋譜")));
    EXPECT_EQ(utf8(t.uniqueName(a, {}, NameStyle::newRecord)), "新しい棋譜(2)");
    EXPECT_EQ(utf8(t.uniqueName(a, "X", NameStyle::numbered)), "X");
    t.addRecord(a, named("X"));
    EXPECT_EQ(utf8(t.uniqueName(a, "X", NameStyle::numbered)), "X(2)");
}

TEST(CollectionTree, CopyNamesGoThroughTheCopyPrefixThenNumbers)
{
    Tree t;
    const int a = t.addFolder(0, "A", 0);
    const int slot = t.addRecord(a, named("X"));
    EXPECT_EQ(utf8(t.uniqueName(0, "X", NameStyle::copy)), "X");
    const std::string first = t.uniqueName(a, "X", NameStyle::copy);
    EXPECT_EQ(utf8(first), "コピー～X");
    t.copyRecord(slot, t, a, first);
    const std::string second = t.uniqueName(a, "X", NameStyle::copy);
    EXPECT_EQ(utf8(second), "コピー(2)～X");
    // The copy prefix is the CP932 full-width tilde, 81 60.
    EXPECT_EQ(first.substr(6, 2), "\x81\x60");
}

TEST(CollectionTree, UniqueNamesMatchASearchFromTheStartAfterAnyChange)
{
    // Names come and go in a folder while copies keep being named: the remembered numbers must
    // never skip a number that has become free again.
    Tree t;
    const int a = t.addFolder(0, "A", 0);
    std::mt19937 random(7);
    std::vector<int> slots;
    const std::vector<std::string> bases { "X", "Y" };
    for (int step = 0; step < 3000; ++step) {
        const std::string& base = bases[random() % 2];
        const int action = static_cast<int>(random() % 10);
        if (action < 6 || slots.empty()) {
            const std::string expected = uniqueByScan(t, a, base);
            const std::string name = t.uniqueName(a, base, NameStyle::copy);
            ASSERT_EQ(name, expected) << "step " << step;
            if (action < 5)
                slots.push_back(t.addRecord(a, named(name)));
            else
                t.addFolder(a, name, 0);
        } else {
            const size_t pick = random() % slots.size();
            if (action < 8)
                t.detachRecord(slots[pick]);
            else
                t.renameRecord(slots[pick], "Z" + std::to_string(step));
            if (action < 8)
                slots.erase(slots.begin() + static_cast<long>(pick));
        }
    }
    for (const int slot : slots)
        EXPECT_TRUE(t.nameTaken(a, t.record(slot).name));
}

TEST(CollectionTree, NameTestFollowsRenamesRemovalsAndDuplicates)
{
    Tree t;
    const int a = t.addFolder(0, "A", 0);
    const int b = t.addFolder(a, "B", 0);
    const int one = t.addRecord(a, named("R"));
    const int two = t.addRecord(a, named("R"));
    EXPECT_TRUE(t.nameTaken(a, "B"));
    EXPECT_FALSE(t.nameTaken(0, "B"));
    EXPECT_EQ(t.findChild(a, "B"), b);
    EXPECT_EQ(t.findChild(a, "R"), -1); // a record is no child folder

    t.detachRecord(one);
    EXPECT_TRUE(t.nameTaken(a, "R")); // the other record of that name is still there
    t.renameRecord(two, "S");
    EXPECT_FALSE(t.nameTaken(a, "R"));
    EXPECT_TRUE(t.nameTaken(a, "S"));
    t.renameFolder(b, "C");
    EXPECT_FALSE(t.nameTaken(a, "B"));
    EXPECT_EQ(t.findChild(a, "C"), b);
    t.removeFolder(b);
    EXPECT_FALSE(t.nameTaken(a, "C"));

    // Names are exact bytes: no folding of case or width.
    EXPECT_FALSE(t.nameTaken(a, "s"));
}

TEST(CollectionTree, AdoptedDataIsIndexed)
{
    RecordCollection data;
    data.folders.resize(2);
    data.folders[1].parent = 0;
    data.folders[1].name = "A";
    data.folders[0].children = { 1 };
    GameRecord record = named("R");
    record.folder = 1;
    data.records = { record, GameRecord {}, record };
    data.folders[1].records = { 0, 2 };
    CollectionTree t;
    t.adopt(std::move(data));
    EXPECT_TRUE(t.nameTaken(0, "A"));
    EXPECT_TRUE(t.nameTaken(1, "R"));
    // The free slot in the middle is the first to be taken again.
    EXPECT_EQ(t.addRecord(1, named("S")), 1);
    t.detachRecord(0);
    EXPECT_TRUE(t.nameTaken(1, "R"));
    t.detachRecord(2);
    EXPECT_FALSE(t.nameTaken(1, "R"));
}

TEST(CollectionTree, FreedSlotsAreReusedLowestFirst)
{
    Tree t;
    for (int i = 0; i < 5; ++i)
        t.addRecord(0, named(std::to_string(i)));
    t.detachRecord(3);
    t.detachRecord(1);
    EXPECT_EQ(t.record(1).folder, -1);
    EXPECT_EQ(t.folder(0).records, (std::vector<int> { 0, 2, 4 }));
    EXPECT_EQ(t.addRecord(0, named("a")), 1);
    EXPECT_EQ(t.addRecord(0, named("b")), 3);
    EXPECT_EQ(t.addRecord(0, named("c")), 5);
    EXPECT_EQ(t.folder(0).records, (std::vector<int> { 0, 2, 4, 1, 3, 5 }));
}

TEST(CollectionTree, RemovingAFolderMarksItsWholeSubtree)
{
    Tree t;
    const int a = t.addFolder(0, "A", 0);
    const int b = t.addFolder(a, "B", 0);
    const int c = t.addFolder(b, "C", 0);
    const int other = t.addFolder(0, "D", 0);
    const int r1 = t.addRecord(a, named("1"));
    const int r2 = t.addRecord(c, named("2"));
    const int kept = t.addRecord(other, named("3"));
    t.setShare(b, "share", "comment");
    ASSERT_EQ(t.sharedCount(), 1);

    t.removeFolder(a);
    EXPECT_EQ(t.folderCount(), 5); // entries remain until the next start
    for (const int f : { a, b, c }) {
        EXPECT_EQ(t.folder(f).parent, -1);
        EXPECT_FALSE(t.folderIsLive(f));
        EXPECT_TRUE(t.folder(f).children.empty());
        EXPECT_TRUE(t.folder(f).records.empty());
    }
    EXPECT_EQ(t.record(r1).folder, -1);
    EXPECT_EQ(t.record(r2).folder, -1);
    EXPECT_EQ(t.record(kept).folder, other);
    EXPECT_EQ(t.folder(0).children, std::vector<int> { other });
    EXPECT_EQ(t.sharedCount(), 0);
    EXPECT_FALSE(t.nameTaken(0, "A"));
}

TEST(CollectionTree, PathsDepthsAndAncestors)
{
    Tree t;
    const int a = t.addFolder(0, "A", 0);
    const int b = t.addFolder(a, "B", 0);
    const int c = t.addFolder(b, "C", 0);
    EXPECT_EQ(utf8(t.path(b, false)), "\\マイ 棋譜集\\A\\B\\");
    EXPECT_EQ(t.path(b, true), "\\A\\B\\");
    EXPECT_EQ(t.path(0, true), "\\");
    EXPECT_EQ(t.depth(0), 0);
    EXPECT_EQ(t.depth(c), 3);
    EXPECT_TRUE(t.isAncestor(a, c));
    EXPECT_TRUE(t.isAncestor(c, c));
    EXPECT_TRUE(t.isAncestor(0, c));
    EXPECT_FALSE(t.isAncestor(c, a));

    using Split = std::optional<std::pair<std::string, std::string>>;
    EXPECT_EQ(t.splitPath(b), Split({ "A", "\\B\\" }));
    EXPECT_EQ(t.splitPath(c), Split({ "A", "\\B\\C\\" }));
    EXPECT_EQ(t.splitPath(a), Split({ "A", "\\" }));
    EXPECT_EQ(t.splitPath(0), std::nullopt);
}

TEST(CollectionTree, SubtreeCountsCoverEveryLevel)
{
    Tree t;
    const int a = t.addFolder(0, "A", 0);
    const int b = t.addFolder(a, "B", 0);
    t.addFolder(b, "C", 0);
    t.addRecord(a, named("1"));
    t.addRecord(b, named("2"));
    t.addRecord(b, named("3"));
    const SubtreeCounts counts = t.subtreeCounts(a);
    EXPECT_EQ(counts.folders, 2);
    EXPECT_EQ(counts.records, 3);
    EXPECT_EQ(counts.packed(), 2 * 65536 + 3);
    EXPECT_EQ((SubtreeCounts { 1, 70000 }.packed()), 65536 + (70000 & 0xFFFF));
}

TEST(CollectionTree, SharesKeepTheSharedCount)
{
    Tree t;
    const int a = t.addFolder(0, "A", 0);
    const int b = t.addFolder(a, "B", 0);
    t.setShare(a, "s1", "c1");
    t.setShare(a, "s1b", "c1"); // a new name for a shared folder counts once
    t.setShare(b, "s2", "c2");
    EXPECT_EQ(t.sharedCount(), 2);
    t.clearShare(b);
    t.clearShare(b);
    EXPECT_EQ(t.sharedCount(), 1);
    t.setShare(b, "s2", "c2");
    t.clearShareSubtree(a);
    EXPECT_EQ(t.sharedCount(), 0);
    EXPECT_TRUE(t.folder(b).shareName.empty());
    EXPECT_TRUE(t.folder(b).shareComment.empty());
}

TEST(CollectionTree, CopiesAcrossCollectionsCarryPlayersByName)
{
    Tree source;
    Tree target;
    target.playerNames().add("Q");
    const int p = source.playerNames().add("P");
    const int q = source.playerNames().add("Q");
    const int a = source.addFolder(0, "A", 111);
    const int b = source.addFolder(a, "B", 222);
    source.addFolder(a, "C", 333);
    source.setShare(a, "shared", "comment");
    GameRecord record = named("R");
    record.blackPlayer = static_cast<int16_t>(p);
    record.whitePlayer = static_cast<int16_t>(q);
    record.comment = "c";
    record.playedAt = 42;
    source.addRecord(a, record);
    record.blackPlayer = 0;
    source.addRecord(b, record);

    const int copy = source.copyFolder(a, target, 0);
    ASSERT_GT(copy, 0);
    const RecordFolder& top = target.folder(copy);
    EXPECT_EQ(top.name, "A");
    EXPECT_EQ(top.created, 111);
    EXPECT_TRUE(top.shareName.empty());
    EXPECT_EQ(top.deletedAt, 0);
    ASSERT_EQ(top.children.size(), 2u);
    EXPECT_EQ(target.folder(top.children[0]).name, "B");
    EXPECT_EQ(target.folder(top.children[1]).name, "C");
    // Folders are made in the order of a recursive copy: B before C.
    EXPECT_EQ(top.children[0], copy + 1);

    const GameRecord& first = target.record(top.records.at(0));
    EXPECT_EQ(target.playerNames().name(first.blackPlayer), "P");
    EXPECT_EQ(first.whitePlayer, 1); // "Q" was already there
    EXPECT_EQ(first.comment, "c");
    EXPECT_EQ(first.playedAt, 42);
    const GameRecord& second = target.record(target.folder(top.children[0]).records.at(0));
    EXPECT_EQ(second.blackPlayer, 0);
    EXPECT_EQ(target.playerNames().size(), 3);
    EXPECT_EQ(source.folder(a).children.size(), 2u); // the source is unchanged
}

TEST(CollectionTree, AFolderCopiedIntoItselfStopsAtWhatWasThere)
{
    Tree t;
    const int a = t.addFolder(0, "A", 0);
    const int b = t.addFolder(a, "B", 0);
    t.addRecord(b, named("R"));
    const int copy = t.copyFolder(a, t, b, std::string("A2"));
    EXPECT_EQ(t.folder(copy).name, "A2");
    EXPECT_EQ(t.subtreeCounts(copy).folders, 1);
    EXPECT_EQ(t.subtreeCounts(copy).records, 1);
    EXPECT_EQ(t.folderCount(), 5);
}

TEST(CollectionTree, BatchDetachingKeepsASlotReusedInTheSameFolder)
{
    Tree t;
    const int a = t.addFolder(0, "A", 0);
    const int r0 = t.addRecord(a, named("0"));
    const int r1 = t.addRecord(a, named("1"));
    t.addRecord(a, named("2"));
    t.detachRecordDeferred(r0);
    t.detachRecordDeferred(r1);
    EXPECT_FALSE(t.nameTaken(a, "0"));
    // The freed slot goes back into the same folder before the lists are compacted.
    EXPECT_EQ(t.addRecord(a, named("new")), r0);
    t.finishDetaching();
    EXPECT_EQ(t.folder(a).records, (std::vector<int> { 2, r0 }));
    EXPECT_EQ(t.record(r0).name, "new");
}

TEST(CollectionTree, ClearLeavesTheRootAndUnknownPlayer)
{
    Tree t;
    t.playerNames().add("P");
    const int a = t.addFolder(0, "A", 0);
    t.addRecord(a, named("1"));
    t.addRecord(0, named("2"));
    t.clear();
    EXPECT_EQ(utf8(t.folder(0).name), "マイ 棋譜集");
    EXPECT_TRUE(t.folder(0).children.empty());
    EXPECT_TRUE(t.folder(0).records.empty());
    EXPECT_EQ(t.folder(a).parent, -1);
    EXPECT_EQ(t.slotCount(), 0);
    EXPECT_EQ(t.playerNames().size(), 1);
    EXPECT_FALSE(t.nameTaken(0, "A"));
    EXPECT_EQ(t.addRecord(0, named("3")), 0);
}

TEST(CollectionTree, TheFolderTableStopsAtItsLimit)
{
    Tree t;
    int last = 0;
    for (int i = 1; i < CollectionTree::kMaxFolders; ++i)
        last = t.addFolder(0, std::to_string(i), 0);
    EXPECT_EQ(last, CollectionTree::kMaxFolders - 1);
    EXPECT_EQ(t.addFolder(0, "one too many", 0), -1);
    // A copy that does not fit adds nothing at all.
    EXPECT_EQ(t.copyFolder(1, t, 2), -1);
    EXPECT_EQ(t.folderCount(), CollectionTree::kMaxFolders);
    EXPECT_TRUE(t.folder(2).children.empty());
}

TEST(CollectionTree, LongNamesAreCutToWhatTheFileCarries)
{
    Tree t;
    const std::string longName(300, 'n');
    const int slot = t.addRecord(0, named(longName));
    EXPECT_EQ(t.record(slot).name, std::string(255, 'n'));
    // Numbered names keep their number even for a base as long as a name may be.
    const std::string base(255, 'b');
    t.addRecord(0, named(base));
    const std::string second = t.uniqueName(0, base, NameStyle::numbered);
    EXPECT_EQ(second, std::string(252, 'b') + "(2)");
    t.addRecord(0, named(second));
    EXPECT_EQ(t.uniqueName(0, base, NameStyle::numbered), std::string(252, 'b') + "(3)");
    const std::string copy = t.uniqueName(0, base, NameStyle::copy);
    EXPECT_EQ(copy.size(), 255u);
    EXPECT_EQ(utf8(copy.substr(0, 8)), "コピー～");
}

} // namespace
