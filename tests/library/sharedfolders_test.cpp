// Answering listing requests from the own shares and applying listings of other users.
#include "libraryfakes.h"

#include "library/libraryoperations.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "library/sharedfolders.h"
#include "records/recordline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

class SharedFolders : public testing::Test {
protected:
    SharedFolders()
    {
        library.collection(myRecordsCollection).ensureRoot("root", 0);
        library.collection(networkCollection).ensureRoot("net", 0);
        CollectionTree& own = library.collection(myRecordsCollection);
        own.setShare(0, "root", "never listed");
        const int a = own.addFolder(0, "A", 0);
        own.setShare(a, "sa", "ca");
        const int inner = own.addFolder(a, "inner", 0);
        own.setShare(inner, "sb", "cb");
        own.addFolder(0, "plain", 0);
        for (const char* name : { "r1", "r2" }) {
            GameRecord record;
            record.name = name;
            own.addRecord(a, record);
        }
        GameRecord hidden;
        hidden.name = "hidden";
        own.addRecord(inner + 1 /* plain */, hidden);
        GameRecord below;
        below.name = "below";
        own.addRecord(inner, below);
    }

    std::vector<std::string> entries(const StringList& answer) const
    {
        std::vector<std::string> out;
        for (int32_t i = 4; i < answer.count(); ++i)
            out.push_back(answer.item(i).str());
        return out;
    }
    std::vector<std::string> recordNames(const StringList& answer)
    {
        std::vector<std::string> out;
        for (const std::string& line : entries(answer)) {
            GameRecord record;
            PlayerNameTable names;
            recordFromLine(line, record, names, library.openingBook());
            out.push_back(record.name);
        }
        return out;
    }

    RecordLibrary library;
    Settings settings;
    LibraryLog log;
    RecordingPrompter prompter { log };
    RecordingViews views { log };
    RecordingNotices notices { log };
    LibraryOperations ops { library, settings, prompter, views, notices };
    SharedFolderExchange exchange { library, ops, views, notices };
};

TEST_F(SharedFolders, GetDirAnswersOnlyWhatWasShared)
{
    const StringList shares = exchange.answerGetDir(StringList { "XTELL", "bob", "GETDIR", "\\" });
    EXPECT_EQ(shares.item(0), "XTELL");
    EXPECT_EQ(shares.item(1), "bob");
    EXPECT_EQ(shares.item(2), "DIR");
    EXPECT_EQ(shares.item(3), "\\");
    EXPECT_EQ(entries(shares), (std::vector<std::string> { "1,sa,ca", "1,sb,cb" }));

    struct Case {
        std::string path;
        std::vector<std::string> records;
    };
    const std::vector<Case> cases {
        { "\\sa\\", { "r1", "r2" } }, // the share's own records, not its sub-folders'
        { "\\sb\\", { "below" } }, { "\\sa\\inner\\", {} }, // below a share: nothing
        { "\\nosuch\\", {} }, { "\\\\", {} }, // no share name: never the first unshared folder
        { "", {} }, { "x\\", {} }, { "\\root\\", {} }, // the root is never a share
    };
    for (const Case& c : cases) {
        const StringList answer
            = exchange.answerGetDir(StringList { "XTELL", "bob", "GETDIR", c.path });
        EXPECT_EQ(answer.item(3), c.path);
        EXPECT_EQ(recordNames(answer), c.records) << c.path;
    }
}

TEST_F(SharedFolders, DirBuildsSharesReplacesRecordsAndDropsVanishedShares)
{
    exchange.userLoggedIn("bob", 5);
    const CollectionTree& net = library.collection(networkCollection);
    const int bob = net.findChild(0, "bob");
    ASSERT_GT(bob, 0);
    EXPECT_EQ(exchange.listingRequest(bob), (ListingRequest { "bob", "\\" }));
    EXPECT_TRUE(exchange.listingDue(bob, 1000));

    EXPECT_EQ(
        exchange.beginDir(StringList { "XTELL", "bob", "DIR", "\\", "1,s1,c1", "1,s2,c2" }, 1000),
        nullptr);
    EXPECT_EQ(exchange.listedAt(bob), 1000);
    EXPECT_FALSE(exchange.listingDue(bob, 1300));
    const int s1 = net.findChild(bob, "s1");
    ASSERT_GT(s1, 0);
    EXPECT_EQ(net.folder(s1).shareComment, "c1");
    EXPECT_EQ(exchange.listingRequest(s1), (ListingRequest { "bob", "\\s1\\" }));

    const CollectionTree& own = library.collection(myRecordsCollection);
    const std::string line = recordToLine(own.record(0), own.playerNames());
    for (const int count : { 3, 0 }) {
        StringList dir { "XTELL", "bob", "DIR", "\\s1\\" };
        for (int i = 0; i < count; ++i)
            dir.append(line);
        auto application = exchange.beginDir(dir, 2000);
        ASSERT_NE(application, nullptr);
        while (!application->run(std::chrono::microseconds(1000))) { }
        EXPECT_EQ(static_cast<int>(net.folder(s1).records.size()), count);
    }

    exchange.beginDir(StringList { "XTELL", "bob", "DIR", "\\", "1,s2,new" }, 3000);
    EXPECT_EQ(net.findChild(bob, "s1"), -1);
    EXPECT_EQ(net.folder(net.findChild(bob, "s2")).shareComment, "new");
    // A nameless or news user names no folder.
    EXPECT_EQ(exchange.beginDir(StringList { "XTELL", "", "DIR", "\\x\\", "y" }, 1), nullptr);
    EXPECT_EQ(exchange.beginDir(StringList { "XTELL", "@a b", "DIR", "\\x\\", "y" }, 1), nullptr);
    exchange.userLoggedOut("bob");
    EXPECT_EQ(net.findChild(0, "bob"), -1);
}

TEST_F(SharedFolders, ListingReplacesRecordsOverSlicesKeepingTheFolderWhole)
{
    exchange.beginDir(StringList { "XTELL", "bob", "DIR", "\\", "1,s,c" }, 1);
    const CollectionTree& net = library.collection(networkCollection);
    const int share = net.findChild(net.findChild(0, "bob"), "s");
    const auto listing = [](const char* prefix, int count) {
        StringList dir { "XTELL", "bob", "DIR", "\\s\\" };
        GameRecord record;
        PlayerNameTable names;
        for (int i = 0; i < count; ++i) {
            record.name = prefix + std::to_string(i);
            dir.append(recordToLine(record, names));
        }
        return dir;
    };
    auto first = exchange.beginDir(listing("old", 200), 2);
    while (!first->run(std::chrono::microseconds(0))) { }
    const std::vector<int> oldSlots = net.folder(share).records;

    views.shown = { networkCollection, share };
    log.clear();
    auto second = exchange.beginDir(listing("new", 150), 3);
    ASSERT_NE(second, nullptr);
    int slices = 0;
    for (bool done = false; !done; ++slices) {
        done = second->run(std::chrono::microseconds(0));
        // Between slices the folder lists only live records, and the list has been told.
        for (const int slot : net.folder(share).records)
            EXPECT_TRUE(net.recordIsLive(slot));
        EXPECT_EQ(log.entries.back(), "row.reload 1:" + std::to_string(share));
    }
    EXPECT_GT(slices, 3);
    std::vector<std::string> expected;
    for (auto slot = oldSlots.rbegin(); slot != oldSlots.rend(); ++slot) {
        char text[64];
        std::snprintf(text, sizeof text, "notice 13 %08X 0", (1u << 24) | unsigned(*slot));
        expected.push_back(text);
    }
    std::vector<std::string> notices;
    std::copy_if(log.entries.begin(), log.entries.end(), std::back_inserter(notices),
        [](const std::string& e) { return e.starts_with("notice"); });
    EXPECT_EQ(notices, expected); // last to first, one for each record that went
    ASSERT_EQ(net.folder(share).records.size(), 150u);
    for (int i = 0; i < 150; ++i)
        EXPECT_EQ(net.record(net.folder(share).records[size_t(i)]).name, "new" + std::to_string(i));
    EXPECT_EQ(exchange.listedAt(share), 3);
}

} // namespace
