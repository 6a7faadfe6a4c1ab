#include "board/notation.h"
#include "records/collectionfile.h"
#include "records/openingbook.h"
#include "text/cp932.h"

#include "../records/clirun.h"
#include "../records/tempdir.h"

#include <gtest/gtest.h>

namespace {

TEST(ImportCommand, FilesLinesIntoAFolderMadeOnTheWayAndSaves)
{
    TempDir dir;
    const std::string file = dir.file("private.kif");
    writeBytes(dir.file("moves.txt"), "F5D6C3\r\nXX\r\nE6F4\r\n");
    ASSERT_EQ(cli("gen --records 50 --folders 3 --seed 2 " + file).status, 0);
    RecordCollection before;
    ASSERT_EQ(loadCollection(file, before, OpeningBook {}), 0);

    const CliRun run
        = cli("import " + file + " --folder '\\new\\inner\\' < " + dir.file("moves.txt"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "filed 2 failed 1\n");

    RecordCollection after;
    ASSERT_EQ(loadCollection(file, after, OpeningBook {}), 0);
    ASSERT_EQ(after.folders.size(), before.folders.size() + 2);
    const RecordFolder& inner = after.folders.back();
    EXPECT_EQ(inner.name, "inner");
    EXPECT_EQ(after.folders[size_t(inner.parent)].name, "new");
    ASSERT_EQ(inner.records.size(), 2u);
    EXPECT_EQ(cp932::toUtf8(after.records[size_t(inner.records[0])].name), "インポート棋譜");
    EXPECT_EQ(movesToText(after.records[size_t(inner.records[0])].moves), "F5D6C3");
    EXPECT_EQ(cp932::toUtf8(after.records[size_t(inner.records[1])].name), "インポート棋譜(2)");
    EXPECT_EQ(after.records.size(), before.records.size() + 2);

    // Without a folder the root takes them; a missing file is made.
    const CliRun fresh = cli("import " + dir.file("new.kif") + " < " + dir.file("moves.txt"));
    EXPECT_EQ(fresh.out, "filed 2 failed 1\n");
    RecordCollection made;
    ASSERT_EQ(loadCollection(dir.file("new.kif"), made, OpeningBook {}), 0);
    EXPECT_EQ(made.folders.at(0).records.size(), 2u);
}

TEST(ImportCommand, FolderPathsAreTypedInUtf8AndFoundAgainOnTheNextRun)
{
    TempDir dir;
    writeBytes(dir.file("moves.txt"), "F5D6C3\n");
    const std::string longName(300, 'x');
    struct Case {
        std::string typed; // the --folder argument, UTF-8
        std::vector<std::string> stored; // the folder names from the top, UTF-8
    };
    const Case cases[] = {
        { "\\棋譜\\日本語\\", { "棋譜", "日本語" } },
        { "\\" + longName + "\\", { std::string(255, 'x') } },
        { "\\" + std::string(254, 'y') + "あい\\", { std::string(254, 'y') } },
    };
    for (const Case& c : cases) {
        const std::string file = dir.file("c" + std::to_string(&c - cases) + ".kif");
        for (int run = 1; run <= 2; ++run) {
            const CliRun result
                = cli("import " + file + " --folder '" + c.typed + "' < " + dir.file("moves.txt"));
            ASSERT_EQ(result.status, 0);
            RecordCollection data;
            ASSERT_EQ(loadCollection(file, data, OpeningBook {}), 0);
            // Every run files into the same folders; none is made twice.
            ASSERT_EQ(data.folders.size(), c.stored.size() + 1) << c.typed << " run " << run;
            for (size_t i = 0; i < c.stored.size(); ++i)
                EXPECT_EQ(cp932::toUtf8(data.folders[i + 1].name), c.stored[i]);
            EXPECT_EQ(data.folders.back().records.size(), size_t(run));
        }
    }
}

TEST(ImportCommand, LeavesAnUnreadableFileAlone)
{
    TempDir dir;
    writeBytes(dir.file("moves.txt"), "F5D6\n");
    // 40,000 folders under the root: the records' 16-bit folder field cannot name the last ones.
    RecordCollection many;
    many.folders.resize(40001);
    for (int i = 1; i <= 40000; ++i) {
        many.folders[size_t(i)].parent = 0;
        many.folders[size_t(i)].name = "f" + std::to_string(i);
    }
    ASSERT_EQ(saveCollection(dir.file("many.kif"), many), 0);
    struct Case {
        std::string file;
        std::string folder;
    };
    const Case cases[]
        = { { "bad.kif", "\\" }, { "many.kif", "\\f40000\\" }, { "many.kif", "\\new\\" } };
    writeBytes(dir.file("bad.kif"), "not a collection");
    for (const Case& k : cases) {
        const std::string before = readBytes(dir.file(k.file));
        const CliRun run = cli("import " + dir.file(k.file) + " --folder '" + k.folder + "' < "
            + dir.file("moves.txt") + " 2>/dev/null");
        EXPECT_EQ(run.status, 1) << k.file << k.folder;
        EXPECT_EQ(run.out, "") << k.file << k.folder;
        EXPECT_EQ(readBytes(dir.file(k.file)), before) << k.file << k.folder;
    }
    EXPECT_EQ(cli("import 2>/dev/null").status, 2);
}

} // namespace
