#include "library/foldernameindex.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// What the index must answer, by looking at every item.
bool scanFinds(const RecordCollection& c, int folder, const std::string& name)
{
    for (size_t f = 1; f < c.folders.size(); ++f) {
        if (c.folders[f].parent == folder && c.folders[f].name == name)
            return true;
    }
    for (const GameRecord& r : c.records) {
        if (r.folder == folder && r.name == name)
            return true;
    }
    return false;
}

// Items come, go and are renamed in few folders under few names, so that many share a hash run
// and removals move entries back; after every step the index answers as a scan of the data does.
TEST(FolderNameIndex, AnswersAsAScanThroughAddsRemovesAndRenames)
{
    std::mt19937 rng(7);
    RecordCollection c;
    c.folders.resize(4);
    for (int f = 1; f < 4; ++f) {
        c.folders[size_t(f)].parent = int16_t(f - 1);
        c.folders[size_t(f)].name = "n" + std::to_string(f);
    }
    c.records.resize(300);
    FolderNameIndex index(c);
    index.rebuild();
    EXPECT_EQ(index.size(), 3);
    const auto name = [&] { return "n" + std::to_string(rng() % 6); };
    for (int step = 0; step < 4000; ++step) {
        GameRecord& r = c.records[rng() % c.records.size()];
        const int slot = int(&r - c.records.data());
        if (r.folder >= 0)
            index.removeRecord(slot);
        if (rng() % 3 == 0) {
            r.folder = -1;
        } else {
            r.folder = int16_t(rng() % 4);
            r.name = name();
            index.addRecord(slot);
        }
        if (step % 50 == 0) {
            // A folder moves its name too.
            const int f = 1 + int(rng() % 3);
            index.removeFolder(f);
            c.folders[size_t(f)].name = name();
            index.addFolder(f);
        }
        const int folder = int(rng() % 5); // 4 is no folder at all
        const std::string probe = name();
        ASSERT_EQ(index.contains(folder, probe), scanFinds(c, folder, probe)) << step;
    }
    for (int folder = 0; folder < 4; ++folder) {
        for (int n = 0; n < 6; ++n) {
            const std::string probe = "n" + std::to_string(n);
            EXPECT_EQ(index.contains(folder, probe), scanFinds(c, folder, probe));
        }
    }
    index.rebuild();
    EXPECT_EQ(index.contains(0, "n1"), scanFinds(c, 0, "n1"));
    index.clear();
    EXPECT_FALSE(index.contains(0, "n1"));
}

} // namespace
