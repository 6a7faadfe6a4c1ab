#include "generatedcollection.h"

#include "board/squares.h"
#include "library/collectiontree.h"
#include "library/openingexplorer.h"
#include "records/collectionfile.h"
#include "records/openingbook.h"

#include <benchmark/benchmark.h>

// The opening explorer on the million generated records: building its index, its snapshot of the
// tree alone, and one query at each depth along games of the collection (the position exists in
// the collection, so every depth has at least one game to walk to).
namespace {

struct ExplorerData {
    CollectionTree tree;
    std::unique_ptr<OpeningExplorer> explorer;
    ExplorerData()
    {
        RecordCollection data;
        if (loadCollection(generatedCollectionPath(), data, OpeningBook {}) == 0)
            tree.adopt(std::move(data));
        explorer = std::make_unique<OpeningExplorer>(tree);
        explorer->rebuild();
    }
};

ExplorerData& data()
{
    static ExplorerData d;
    return d;
}

void BM_ExplorerBuild(benchmark::State& state)
{
    ExplorerData& d = data();
    for (auto _ : state)
        d.explorer->rebuild();
    state.counters["records"] = d.explorer->gameCount();
    state.counters["bytesPerRecord"]
        = double(d.explorer->indexBytes()) / std::max(1, d.explorer->gameCount());
}
BENCHMARK(BM_ExplorerBuild)->Unit(benchmark::kMillisecond)->UseRealTime();

// The part of the build that runs on the GUI thread when a window makes the index on another:
// copying the live records' moves and results out of the tree.
void BM_ExplorerSnapshot(benchmark::State& state)
{
    ExplorerData& d = data();
    int games = 0;
    for (auto _ : state) {
        const OpeningExplorer::Snapshot snapshot = d.explorer->snapshot();
        games = snapshot.gameCount();
        benchmark::DoNotOptimize(games);
    }
    state.counters["records"] = games;
}
BENCHMARK(BM_ExplorerSnapshot)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExplorerQuery(benchmark::State& state)
{
    ExplorerData& d = data();
    const int depth = int(state.range(0));
    // Several games of the collection, so that one lucky path does not decide the figure.
    std::vector<std::vector<int>> queries;
    for (int slot = 1; slot < d.tree.slotCount() && queries.size() < 8; slot += 99991) {
        const MoveList moves = playedMoves(d.tree.record(slot));
        if (moves.size() < depth)
            continue;
        std::vector<int> q;
        for (int i = 0; i < depth; ++i)
            q.push_back(board::rowOf(moves[i]) * 8 + board::columnOf(moves[i]));
        queries.push_back(q);
    }
    size_t next = 0;
    int64_t games = 0;
    for (auto _ : state) {
        const auto moves = d.explorer->explore(queries[next++ % queries.size()]);
        for (const ExplorerMove& m : moves)
            games += m.games;
        benchmark::DoNotOptimize(moves.data());
    }
    state.counters["gamesPerQuery"] = double(games) / double(state.iterations());
}
BENCHMARK(BM_ExplorerQuery)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Arg(12)
    ->Arg(20)
    ->Arg(30)
    ->Arg(40)
    ->Arg(50)
    ->Arg(56)
    ->Arg(58)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
