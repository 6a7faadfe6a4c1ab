// The capture's work per table window and scan, over pictures in memory: reading a table (64
// cells, two name boxes, the probes) and following a game from snapshot to snapshot.

#include "board/notation.h"
#include "board/randomgame.h"
#include "capture/followedgame.h"
#include "capture/namefont.h"
#include "capture/tablepicture.h"
#include "capture/tablereader.h"
#include "capture/tabletitle.h"

#include <benchmark/benchmark.h>

namespace {

TableScene busyScene(int layout)
{
    TableScene scene;
    scene.layout = layout;
    for (int i = 0; i < 64; ++i)
        scene.cells[size_t(i)] = uint8_t(i % 3);
    scene.upperName = "OthelloKING_1975";
    scene.lowerName = "taro99";
    return scene;
}

void BM_ReadTable(benchmark::State& state)
{
    Picture picture = tablepicture::draw(busyScene(int(state.range(0))));
    const std::string title = tabletitle::make("room", 1, "host");
    for (auto _ : state) {
        TableSnapshot s;
        benchmark::DoNotOptimize(tablereader::readTable(picture, title, s));
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_ReadTable)->Arg(0)->Arg(1);

void BM_ReadName(benchmark::State& state)
{
    Picture box(namefont::kBoxWidth, namefont::kBoxHeight, { 255, 255, 255 });
    tablepicture::drawName(box, 0, 0, "OthelloKING_1975");
    for (auto _ : state)
        benchmark::DoNotOptimize(namefont::read(box.pixels()));
}
BENCHMARK(BM_ReadName);

// A whole game followed with a snapshot every `stride` moves.
void BM_FollowGame(benchmark::State& state)
{
    std::mt19937 rng(7);
    const MoveList moves = randomGame(rng);
    const int stride = int(state.range(0));
    std::vector<TableSnapshot> snapshots;
    for (int n = 0; n <= moves.size(); n += stride) {
        OthelloGame g;
        g.selectVariant(OthelloBoard::kVariantStandard);
        g.replay(MoveList::fromBytes(moves.bytes().substr(0, size_t(n))));
        TableSnapshot s;
        for (int i = 0; i < 64; ++i)
            s.cells[size_t(i)] = uint8_t(g.cell(board::squareAt(i / 8, i % 8)));
        snapshots.push_back(s);
    }
    for (auto _ : state) {
        FollowedGame game;
        game.restart(snapshots.front());
        for (const TableSnapshot& s : snapshots)
            benchmark::DoNotOptimize(game.follow(s));
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(snapshots.size()));
}
BENCHMARK(BM_FollowGame)->Arg(1)->Arg(4);

} // namespace
