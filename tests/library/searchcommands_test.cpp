#include "board/notation.h"
#include "library/collectiontree.h"
#include "library/kaexport.h"
#include "library/recordsearch.h"
#include "records/collectionfile.h"
#include "text/cp932.h"

#include "../records/clirun.h"
#include "../records/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <map>

namespace {

// A generated collection file and what it holds.
class SearchCommands : public testing::Test {
protected:
    void SetUp() override
    {
        m_file = m_dir.file("g.kif");
        ASSERT_EQ(cli("gen --records 400 --seed 9 --folders 6 " + m_file).status, 0);
        ASSERT_EQ(loadCollection(m_file, m_collection, OpeningBook {}), 0);
        // "dump" lines of every record slot, by slot.
        for (const std::string& line : lines(cli("dump " + m_file).out)) {
            const size_t at = line.find("\"type\":\"record\",\"slot\":");
            if (at != std::string::npos)
                m_dumpLines[std::stoi(line.substr(at + 23))] = line;
        }
        ASSERT_EQ(m_dumpLines.size(), 400u);
    }

    std::vector<std::string> dumpLinesOf(const std::vector<int>& slots) const
    {
        std::vector<std::string> out;
        for (int slot : slots)
            out.push_back(m_dumpLines.at(slot));
        return out;
    }
    // Quoted for the shell; generated names hold no single quote.
    std::string nameArgument(int index) const
    {
        return "'" + cp932::toUtf8(m_collection.names.name(index)) + "'";
    }

    TempDir m_dir;
    std::string m_file;
    RecordCollection m_collection;
    std::map<int, std::string> m_dumpLines;
};

TEST_F(SearchCommands, SearchPrintsTheMatchingSlotsAsDumpDoes)
{
    const CliRun all = cli("search " + m_file);
    ASSERT_EQ(all.status, 0);
    EXPECT_EQ(lines(all.out).size(), 400u);

    // Criteria that record 7 meets, so that both modes find something.
    const GameRecord& r = m_collection.records[7];
    const int winners[]
        = { SearchCriteria::noWinner, SearchCriteria::blackWon, SearchCriteria::whiteWon };
    const char* winnerWords[] = { "draw", "black", "white" };
    const time_t playedAt = r.playedAt;
    std::tm local {};
    localtime_r(&playedAt, &local);
    const std::string year = std::to_string(local.tm_year + 1900);

    SearchCriteria q;
    q.black = r.blackPlayer;
    q.white = r.whitePlayer;
    q.winner = winners[r.winner];
    q.from = { year, "", "" };
    q.to = { year, "", "" };
    q.moves = MoveList::fromBytes(playedMoves(r).bytes().substr(0, 2));
    q.movesCompared = 2;
    const std::string options = std::string(" --winner ") + winnerWords[r.winner] + " --from "
        + year + " '' '' --to " + year + " '' '' --moves " + movesToText(q.moves) + " ";
    ASSERT_GT(q.black, 0);
    ASSERT_GT(q.white, 0);
    for (bool both : { false, true }) {
        q.bothPlayers = both;
        const std::vector<int> expected = searchRecords(m_collection, q);
        EXPECT_NE(std::find(expected.begin(), expected.end(), 7), expected.end());
        const CliRun run = cli("search --black " + nameArgument(q.black) + " --white "
            + nameArgument(q.white) + (both ? " --and" : "") + options + m_file);
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(lines(run.out), dumpLinesOf(expected)) << both;
    }
    EXPECT_FALSE(
        lines(cli("search --black " + nameArgument(q.black) + " --and " + m_file).out).empty());
}

TEST_F(SearchCommands, SearchRefusesWhatTheFormCannotGive)
{
    for (const char* options : { "--winner nobody", "--moves F5F5", "--moves F5Z9", "--from 2004",
             "--black 'nobody at all'", "--white '不明'" }) {
        const CliRun run = cli(std::string("search ") + options + " " + m_file + " 2>/dev/null");
        EXPECT_NE(run.status, 0) << options;
        EXPECT_EQ(run.out, "") << options;
    }
    EXPECT_EQ(cli("search " + m_dir.file("missing.kif") + " 2>/dev/null").status, 1);
}

TEST_F(SearchCommands, ExportKaWritesTheFolderAtThePath)
{
    CollectionTree tree;
    tree.adopt(m_collection);
    // The deepest folder, and the path to it from below the root.
    int deepest = 0;
    for (int f = 1; f < tree.folderCount(); ++f) {
        if (tree.depth(f) > tree.depth(deepest))
            deepest = f;
    }
    ASSERT_GT(tree.depth(deepest), 1);
    const std::string path = cp932::toUtf8(tree.path(deepest, true));

    const std::string out = m_dir.file("out.ka");
    ASSERT_EQ(cli("export-ka " + m_file + " '" + path + "' " + out).status, 0);
    EXPECT_EQ(readBytes(out), kaExportText(tree.data(), deepest));
    ASSERT_EQ(cli("export-ka " + m_file + " '\\' " + out).status, 0);
    EXPECT_EQ(readBytes(out), kaExportText(tree.data(), 0));

    for (const std::string& bad : { std::string("'\\no such folder\\'"), std::string("A") }) {
        std::filesystem::remove(out);
        EXPECT_NE(cli("export-ka " + m_file + " " + bad + " " + out + " 2>/dev/null").status, 0);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

} // namespace
