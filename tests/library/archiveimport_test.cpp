#include "library/archiveexport.h"
#include "library/archiveimport.h"

#include "../records/clirun.h"
#include "../records/tempdir.h"
#include "board/notation.h"
#include "board/randomgame.h"
#include "buildpaths.h"
#include "library/collectiontree.h"
#include "records/ggffile.h"
#include "records/openingbook.h"
#include "records/wthorfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

std::string fixture(const std::string& name)
{
    return std::string(PAVIONE_TEST_DATA_DIR) + "/archives/" + name;
}

std::vector<int> recordsBelow(const CollectionTree& tree, int folder)
{
    std::vector<int> out(tree.folder(folder).records);
    for (int child : tree.folder(folder).children)
        for (int slot : recordsBelow(tree, child))
            out.push_back(slot);
    return out;
}

} // namespace

TEST(ArchiveImport, RecognisesFilesByTheirContent)
{
    struct Case {
        std::string file;
        ArchiveKind kind;
    };
    for (const Case& c : std::vector<Case> {
             { "games.wtb", ArchiveKind::tournamentGames },
             { "WTHOR.JOU", ArchiveKind::tournamentNames },
             { "WTHOR.TRN", ArchiveKind::tournamentNames },
             { "games.ggf", ArchiveKind::serverGames },
             { "games.txt", ArchiveKind::moveText },
         }) {
        std::string bytes, error;
        ASSERT_TRUE(readWholeFile(fixture(c.file), bytes, error)) << error;
        EXPECT_EQ(recogniseArchive(bytes), c.kind) << c.file;
    }
    EXPECT_EQ(recogniseArchive("NKIF-0200"), ArchiveKind::collection);
    EXPECT_EQ(recogniseArchive("  \n(;GM[Othello]PB[x];)"), ArchiveKind::serverGames);
    EXPECT_EQ(recogniseArchive(""), ArchiveKind::moveText);
    EXPECT_EQ(recogniseArchive(std::string(100, '\0')), ArchiveKind::moveText);
}

TEST(ArchiveImport, TournamentFileBecomesAYearWithAFolderPerTournament)
{
    TempDir dir;
    // The names files are found beside the game file whatever their case.
    std::filesystem::copy(fixture("games.wtb"), dir.file("games.wtb"));
    std::filesystem::copy(fixture("WTHOR.JOU"), dir.file("wthor.jou"));
    std::filesystem::copy(fixture("WTHOR.TRN"), dir.file("Wthor.Trn"));
    CollectionTree tree;
    tree.ensureRoot("root", 0);
    const ArchiveImportResult result
        = importArchiveFile(tree, OpeningBook {}, 0, dir.file("games.wtb"));
    ASSERT_TRUE(result.error.empty()) << result.error;
    ASSERT_GE(result.folder, 0);
    EXPECT_EQ(tree.folder(result.folder).name, "2001");
    ASSERT_EQ(tree.folder(result.folder).children.size(), 2u);
    const int first = tree.folder(result.folder).children[0];
    EXPECT_EQ(tree.folder(first).name, "Championnat de France");
    EXPECT_EQ(tree.path(tree.folder(result.folder).children[1], true), "\\2001\\Coupe d'ete\\");
    const std::vector<int> slots = recordsBelow(tree, result.folder);
    EXPECT_EQ(int(slots.size()), result.report.filed);
    const GameRecord& r = tree.record(tree.folder(first).records[0]);
    EXPECT_EQ(r.name, "Championnat de France #1");
    EXPECT_EQ(tree.playerNames().name(r.blackPlayer), "Alpha, Anne");
    EXPECT_EQ(tree.playerNames().name(r.whitePlayer), "Muller Jose");
    EXPECT_EQ(r.playedAt, startOfYear(2001));
    EXPECT_EQ(r.endType, GameRecord::normalEnd);
    EXPECT_EQ(movesToText(playedMoves(r)).substr(0, 6), "D3E3F2");

    // Without its names files the games still come in, with unknown players.
    TempDir alone;
    std::filesystem::copy(fixture("games.wtb"), alone.file("1999.WTB"));
    const ArchiveImportResult bare
        = importArchiveFile(tree, OpeningBook {}, 0, alone.file("1999.WTB"));
    ASSERT_GE(bare.folder, 0);
    EXPECT_EQ(tree.folder(bare.folder).name, "2001(2)");
    EXPECT_EQ(bare.report.filed, result.report.filed);
    const GameRecord& unnamed = tree.record(tree.folder(bare.folder).records[0]);
    EXPECT_EQ(unnamed.blackPlayer, 0);
    EXPECT_EQ(unnamed.name, "1999 #1");
}

// A large file is read in pieces by two threads; its games still arrive in the file's order,
// numbered per tournament, with the reasons of a damaged game deep inside it.
TEST(ArchiveImport, LargeTournamentFileKeepsItsOrderAcrossPieces)
{
    std::mt19937 rng(5);
    std::vector<ArchiveGame> games(7000);
    for (size_t i = 0; i < games.size(); ++i) {
        games[i].moves = randomGame(rng);
        games[i].black = "P" + std::to_string(i % 7);
        games[i].group = i % 3 ? "Open" : "Cup";
        setResultFromBlackScore(games[i], int(i % 65));
    }
    wthor::Files files = wthor::write(games, 2003);
    const size_t damaged = 5000;
    files.games[wthor::kHeaderBytes + damaged * wthor::kGameBytes + 8 + 10] = 11; // a1, never legal
    TempDir dir;
    writeBytes(dir.file("big.wtb"), files.games);
    writeBytes(dir.file("big.jou"), files.players);
    writeBytes(dir.file("big.trn"), files.tournaments);
    for (const ImportThreads threads : { ImportThreads::one, ImportThreads::two }) {
        SCOPED_TRACE(threads == ImportThreads::one ? "one thread" : "two threads");
        CollectionTree tree;
        tree.ensureRoot("root", 0);
        const ArchiveImportResult result
            = importArchiveFile(tree, OpeningBook {}, 0, dir.file("big.wtb"), {}, threads);
        ASSERT_TRUE(result.error.empty()) << result.error;
        EXPECT_EQ(result.report.filed, 7000);
        EXPECT_EQ(result.report.cut, 1);
        EXPECT_EQ(result.report.reasons.back(), "game 5001: moves stop being legal at move 11");
        std::vector<int> seen(2, 0);
        for (size_t i = 0; i < games.size(); ++i) {
            const int folder = tree.folder(result.folder).children[i % 3 ? 1 : 0];
            const int n = ++seen[i % 3 ? 1 : 0];
            const GameRecord& r = tree.record(tree.folder(folder).records[size_t(n - 1)]);
            ASSERT_EQ(r.name, games[i].group + " #" + std::to_string(n)) << i;
            ASSERT_EQ(tree.playerNames().name(r.blackPlayer), games[i].black) << i;
            const MoveList expected = i == damaged ? MoveList::fromBytes(std::string_view(
                                          reinterpret_cast<const char*>(games[i].moves.data()), 10))
                                                   : games[i].moves;
            ASSERT_EQ(playedMoves(r), expected) << i;
        }
    }
}

// Game server files are read in parts on two threads; a part that does not read as it would
// within the whole file (a game start inside a value, a game running over the part's end) makes
// the rest be read in one go, so the records and the report match a reading on one thread.
TEST(ArchiveImport, ServerFileReadInPartsMatchesOneReading)
{
    std::mt19937 rng(8);
    std::vector<std::string> games;
    for (int i = 0; i < 5000; ++i) {
        ArchiveGame g;
        g.moves = randomGame(rng);
        g.black = "b" + std::to_string(i % 11);
        games.push_back(ggf::writeGame(g));
    }
    const auto withGame = [&](size_t at, const std::string& text) {
        std::vector<std::string> copy = games;
        copy[at] = text;
        std::string all;
        for (const std::string& g : copy)
            all += g + "\n";
        return all;
    };
    const std::string unclosed = games[2047].substr(0, games[2047].size() - 2);
    for (const std::string& text : { withGame(0, games[0]), withGame(3000, "(;GM[Othello]XX[(;];)"),
             withGame(2047, unclosed), withGame(4000, "(;GM[Othello]PB[never closed") }) {
        TempDir dir;
        writeBytes(dir.file("s.ggf"), text);
        std::vector<std::vector<std::string>> seen;
        std::vector<ArchiveReport> reports;
        for (const ImportThreads threads : { ImportThreads::one, ImportThreads::two }) {
            CollectionTree tree;
            tree.ensureRoot("root", 0);
            const ArchiveImportResult result
                = importArchiveFile(tree, OpeningBook {}, 0, dir.file("s.ggf"), {}, threads);
            ASSERT_GE(result.folder, 0);
            std::vector<std::string> records;
            for (int slot : tree.folder(result.folder).records)
                records.push_back(
                    tree.record(slot).name + movesToText(playedMoves(tree.record(slot))));
            seen.push_back(records);
            reports.push_back(result.report);
        }
        EXPECT_EQ(seen[0], seen[1]);
        EXPECT_EQ(reports[0].filed, reports[1].filed);
        EXPECT_EQ(reports[0].skipped, reports[1].skipped);
        EXPECT_EQ(reports[0].reasons, reports[1].reasons);
    }
}

TEST(ArchiveImport, CancelledOrEmptyImportsLeaveNoFolder)
{
    TempDir dir;
    std::string many;
    for (int i = 0; i < 5000; ++i)
        many += "F5D6C3D3C4\n";
    writeBytes(dir.file("many.txt"), many);
    writeBytes(dir.file("none.txt"), "hello\nworld\n");
    CollectionTree tree;
    tree.ensureRoot("root", 0);
    int calls = 0;
    const ArchiveImportResult cancelled
        = importArchiveFile(tree, OpeningBook {}, 0, dir.file("many.txt"), [&](double share) {
              ++calls;
              EXPECT_GT(share, 0.4); // told after the first batch of games
              EXPECT_LE(share, 1.0);
              return false;
          });
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(cancelled.folder, -1);
    EXPECT_TRUE(tree.folder(0).children.empty() || !tree.folderIsLive(tree.folder(0).children[0]));
    EXPECT_TRUE(recordsBelow(tree, 0).empty());

    const ArchiveImportResult none
        = importArchiveFile(tree, OpeningBook {}, 0, dir.file("none.txt"));
    EXPECT_EQ(none.folder, -1);
    EXPECT_EQ(none.report.skipped, 2);
    const ArchiveImportResult missing
        = importArchiveFile(tree, OpeningBook {}, 0, dir.file("missing.wtb"));
    EXPECT_FALSE(missing.error.empty());

    const ArchiveImportResult whole
        = importArchiveFile(tree, OpeningBook {}, 0, dir.file("many.txt"));
    EXPECT_EQ(whole.report.filed, 5000);
    EXPECT_EQ(tree.folder(whole.folder).name, "many");
}

TEST(ArchiveImport, ExportedFoldersReadBackInEveryFormat)
{
    TempDir dir;
    CollectionTree tree;
    tree.ensureRoot("root", 0);
    ASSERT_GE(importArchiveFile(tree, OpeningBook {}, 0, fixture("games.ggf")).folder, 0);
    const int folder = tree.folder(0).children[0];
    const std::vector<int> original = recordsBelow(tree, folder);
    ASSERT_EQ(original.size(), 24u);
    struct Format {
        ArchiveFormat format;
        const char* file;
        bool players;
    };
    for (const Format& f : { Format { ArchiveFormat::serverGames, "out.ggf", true },
             Format { ArchiveFormat::moveText, "out.txt", false },
             Format { ArchiveFormat::tournament, "out.wtb", true } }) {
        SCOPED_TRACE(f.file);
        std::string error;
        EXPECT_EQ(exportArchive(tree, folder, f.format, dir.file(f.file), error), 24) << error;
        CollectionTree back;
        back.ensureRoot("root", 0);
        const ArchiveImportResult result
            = importArchiveFile(back, OpeningBook {}, 0, dir.file(f.file));
        ASSERT_GE(result.folder, 0) << result.error;
        const std::vector<int> read = recordsBelow(back, result.folder);
        ASSERT_EQ(read.size(), original.size());
        for (size_t i = 0; i < read.size(); ++i) {
            const GameRecord& a = tree.record(original[i]);
            const GameRecord& b = back.record(read[i]);
            EXPECT_EQ(playedMoves(a), playedMoves(b));
            if (!f.players)
                continue;
            EXPECT_EQ(
                tree.playerNames().name(a.blackPlayer), back.playerNames().name(b.blackPlayer));
            EXPECT_EQ(
                tree.playerNames().name(a.whitePlayer), back.playerNames().name(b.whitePlayer));
            EXPECT_EQ(a.winner, b.winner);
            EXPECT_EQ(a.blackDiscs, b.blackDiscs);
        }
    }
    std::string error;
    EXPECT_EQ(exportArchive(tree, 99, ArchiveFormat::moveText, dir.file("x"), error), -1);
    EXPECT_EQ(exportArchive(tree, folder, ArchiveFormat::moveText, dir.file("no/x"), error), -1);
}

TEST(ArchiveCommands, ImportExportAndExploreFromTheShell)
{
    TempDir dir;
    const std::string kif = dir.file("c.kif");
    const CliRun imported = cli("import-file " + kif + " " + fixture("games.ggf") + " "
        + fixture("games.txt") + " --folder '\\arch\\' 2>/dev/null");
    ASSERT_EQ(imported.status, 0);
    EXPECT_EQ(lines(imported.out),
        (std::vector<std::string> { fixture("games.ggf") + ": filed 24 cut 0 skipped 2",
            fixture("games.txt") + ": filed 24 cut 0 skipped 0" }));

    const CliRun exported = cli("export text " + kif + " '\\arch\\games\\' " + dir.file("o.txt"));
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(lines(readBytes(dir.file("o.txt"))).size(), 24u);
    EXPECT_EQ(cli("export wthor " + kif + " '\\arch\\' " + dir.file("o.wtb")).status, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("o.JOU")));
    EXPECT_EQ(cli("export pgn " + kif + " '\\arch\\' x 2>/dev/null").status, 2);
    EXPECT_EQ(cli("export text " + kif + " '\\none\\' x 2>/dev/null").status, 1);

    // Another collection file comes in as a folder tree named after it.
    ASSERT_EQ(cli("gen --records 30 --folders 3 --seed 1 " + dir.file("other.kif")).status, 0);
    EXPECT_EQ(cli("import-file " + kif + " " + dir.file("other.kif")).out,
        dir.file("other.kif") + ": filed 30 cut 0 skipped 0\n");
    EXPECT_EQ(lines(cli("export text " + kif + " '\\other\\' " + dir.file("t.txt")).out),
        std::vector<std::string> { "exported 30" });

    // The text's games have no result; E6F4 is the image of F5D6.
    writeBytes(dir.file("few.txt"), "F5D6C3\nE6F4\nF5F6\nF5\n");
    const std::string few = dir.file("few.kif");
    ASSERT_EQ(cli("import-file " + few + " " + dir.file("few.txt")).status, 0);
    const CliRun explored = cli("explore " + few + " --moves f5");
    ASSERT_EQ(explored.status, 0);
    EXPECT_EQ(explored.out,
        "{\"move\":\"D6\",\"games\":2,\"black\":0,\"white\":0,\"other\":2,"
        "\"avgBlackDiscs\":null}\n"
        "{\"move\":\"F6\",\"games\":1,\"black\":0,\"white\":0,\"other\":1,"
        "\"avgBlackDiscs\":null}\n");
    const std::vector<std::string> out = lines(cli("explore " + kif).out);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_NE(out[0].find("\"avgBlackDiscs\":"), std::string::npos);
    EXPECT_EQ(out[0].find("null"), std::string::npos);
    EXPECT_EQ(cli("explore " + kif + " --moves a1 2>/dev/null").status, 1);
    EXPECT_EQ(cli("explore 2>/dev/null").status, 2);
}
