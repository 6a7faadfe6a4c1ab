#include "board/randomgame.h"
#include "library/archiveimport.h"
#include "library/collectiontree.h"
#include "records/ggffile.h"
#include "records/openingbook.h"
#include "records/wthorfile.h"

#include "buildpaths.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

// Imports of generated archives: a million tournament games (with their names files beside them)
// and a hundred thousand game server games, each game replayed and checked and filed as a record
// of a fresh collection.
namespace {

namespace fs = std::filesystem;

std::vector<ArchiveGame> randomGames(int count, int players, int tournaments)
{
    std::mt19937 rng(11);
    std::vector<ArchiveGame> games(static_cast<size_t>(count));
    for (ArchiveGame& g : games) {
        g.moves = randomGame(rng);
        g.black = "Player " + std::to_string(rng() % unsigned(players));
        g.white = "Player " + std::to_string(rng() % unsigned(players));
        g.group = "Tournament " + std::to_string(rng() % unsigned(tournaments));
        setResultFromBlackScore(g, int(rng() % 65));
    }
    return games;
}

void writeBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

const fs::path& archiveDirectory()
{
    static const fs::path dir = [] {
        const fs::path d = fs::temp_directory_path() / "pavione-bench-archives";
        fs::create_directories(d);
        if (!fs::exists(d / "million.wtb")) {
            const wthor::Files files = wthor::write(randomGames(1000000, 3000, 400), 2001);
            writeBytes(d / "WTHOR.JOU", files.players);
            writeBytes(d / "WTHOR.TRN", files.tournaments);
            writeBytes(d / "million.wtb", files.games);
        }
        if (!fs::exists(d / "games.ggf")) {
            std::string text;
            for (ArchiveGame& g : randomGames(100000, 3000, 1)) {
                g.playedAt = 1100000000;
                text += ggf::writeGame(g);
            }
            writeBytes(d / "games.ggf", text);
        }
        return d;
    }();
    return dir;
}

// The argument is the number of threads the import uses, one or two.
void importFile(benchmark::State& state, const char* name)
{
    const ImportThreads threads = state.range(0) == 1 ? ImportThreads::one : ImportThreads::two;
    const std::string path = (archiveDirectory() / name).string();
    // The program's own opening names, as an import in the program uses them.
    OpeningBook book;
    book.load(std::string(PAVIONE_RES_DIR) + "/opening.txt");
    int filed = 0;
    for (auto _ : state) {
        CollectionTree tree;
        tree.ensureRoot("root", 0);
        const ArchiveImportResult result = importArchiveFile(tree, book, 0, path, {}, threads);
        filed = result.report.filed;
        benchmark::DoNotOptimize(tree.slotCount());
        if (!result.error.empty())
            state.SkipWithError(result.error.c_str());
    }
    state.counters["games"] = filed;
    state.SetItemsProcessed(int64_t(state.iterations()) * filed);
}

void BM_ImportMillionTournamentGames(benchmark::State& state)
{
    importFile(state, "million.wtb");
}
BENCHMARK(BM_ImportMillionTournamentGames)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ImportServerGames(benchmark::State& state)
{
    importFile(state, "games.ggf");
}
BENCHMARK(BM_ImportServerGames)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
