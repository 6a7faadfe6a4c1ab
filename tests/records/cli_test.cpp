#include "board/othellogame.h"
#include "records/collectionfile.h"
#include "records/recordline.h"

#include "clirun.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(Cli, GenIsDeterministicAndCountsWhatLives)
{
    TempDir dir;
    ASSERT_EQ(cli("gen --records 300 --seed 5 --folders 7 " + dir.file("a.kif")).status, 0);
    ASSERT_EQ(cli("gen --records 300 --seed 5 --folders 7 " + dir.file("b.kif")).status, 0);
    ASSERT_EQ(cli("gen --records 300 --seed 6 --folders 7 " + dir.file("c.kif")).status, 0);
    EXPECT_EQ(readBytes(dir.file("a.kif")), readBytes(dir.file("b.kif")));
    EXPECT_NE(readBytes(dir.file("a.kif")), readBytes(dir.file("c.kif")));

    const CliRun count = cli("count " + dir.file("a.kif"));
    EXPECT_EQ(count.status, 0);
    RecordCollection c;
    ASSERT_EQ(loadCollection(dir.file("a.kif"), c, OpeningBook {}), 0);
    EXPECT_EQ(
        count.out, "folders 7 names " + std::to_string(c.names.size() - 1) + " records 300\n");
    // Every generated game replays, and some of them are finished.
    int finished = 0;
    for (const GameRecord& r : c.records) {
        finished += r.endType == GameRecord::normalEnd;
        OthelloGame game;
        gameOfRecord(r, game);
        ASSERT_EQ(game.cursor(), r.moves.size());
    }
    EXPECT_GT(finished, 30);
    EXPECT_LT(finished, 300);
    EXPECT_GT(c.names.size(), 100);
}

TEST(Cli, DumpPrintsOneObjectPerEntry)
{
    TempDir dir;
    ASSERT_EQ(cli("gen --records 50 --seed 2 --folders 3 " + dir.file("g.kif")).status, 0);
    const CliRun dump = cli("dump " + dir.file("g.kif"));
    ASSERT_EQ(dump.status, 0);
    RecordCollection c;
    ASSERT_EQ(loadCollection(dir.file("g.kif"), c, OpeningBook {}), 0);
    const std::vector<std::string> out = lines(dump.out);
    ASSERT_EQ(out.size(), 3 + size_t(c.names.size() - 1) + 50);
    EXPECT_TRUE(out[0].starts_with(R"({"type":"folder","index":1,"parent":0,"name":")"));
    EXPECT_TRUE(out[3].starts_with(R"({"type":"name","index":1,"name":")"));
    const std::string& record = out.back();
    EXPECT_TRUE(record.starts_with(R"({"type":"record","slot":49,"folder":)")) << record;
    for (const char* key : { "\"blackName\":", "\"moves\":\"F5",
             "\"played\":", "\"opening\":", "\"result\":", "\"comment\":" })
        EXPECT_NE(record.find(key), std::string::npos) << key;
}

TEST(Cli, DumpOfABadFileFails)
{
    TempDir dir;
    writeBytes(dir.file("bad.kif"), "not a collection");
    const CliRun run = cli("dump " + dir.file("bad.kif") + " 2>&1");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(lines(run.out).size(), 1u);
    // A file of 200 GB of holes is refused at its header, without reading it.
    writeBytes(dir.file("huge.kif"), "");
    std::filesystem::resize_file(dir.file("huge.kif"), uintmax_t(200) << 30);
    for (const char* command : { "count ", "dump " })
        EXPECT_EQ(cli(command + dir.file("huge.kif") + " 2>/dev/null").status, 1) << command;
    EXPECT_EQ(cli("dump " + dir.file("missing.kif") + " 2>/dev/null").status, 1);
    EXPECT_EQ(cli("dump 2>/dev/null").status, 2);
}

TEST(Cli, LineEncodeAndDecode)
{
    TempDir dir;
    ASSERT_EQ(cli("gen --records 20 --seed 4 " + dir.file("g.kif")).status, 0);
    const CliRun encoded = cli("line encode " + dir.file("g.kif") + " 7");
    ASSERT_EQ(encoded.status, 0);
    RecordCollection c;
    ASSERT_EQ(loadCollection(dir.file("g.kif"), c, OpeningBook {}), 0);
    EXPECT_EQ(encoded.out, recordToLine(c.records[7], c.names) + "\n");

    writeBytes(dir.file("line.txt"), encoded.out);
    const CliRun decoded = cli("line decode < " + dir.file("line.txt"));
    ASSERT_EQ(decoded.status, 0);
    const std::string dumped
        = lines(cli("dump " + dir.file("g.kif")).out)
              .at(size_t(c.folders.size() - 1 + size_t(c.names.size() - 1) + 7));
    // The same record but for what the line does not carry: slot, folder, indices, deletion.
    const auto from
        = [](const std::string& json, const char* key) { return json.substr(json.find(key)); };
    EXPECT_EQ(from(decoded.out, "\"blackName\""), from(dumped, "\"blackName\"") + "\n");
    EXPECT_EQ(cli("line encode " + dir.file("g.kif") + " 20 2>/dev/null").status, 1);
    EXPECT_EQ(cli("line encode " + dir.file("g.kif") + " x 2>/dev/null").status, 2);
}

} // namespace
