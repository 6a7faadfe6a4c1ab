#include "board/randomgame.h"
#include "library/recordsearch.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <random>

namespace {

const RecordCollection& million()
{
    static const RecordCollection c = [] {
        RecordCollection c;
        c.folders.resize(1);
        std::mt19937 rng(1);
        for (int i = 1; i < 200; ++i)
            c.names.add("player" + std::to_string(i));
        c.records.resize(1000000);
        auto t0 = std::chrono::steady_clock::now();
        for (GameRecord& r : c.records) {
            r.folder = 0;
            r.name = "game";
            r.blackPlayer = int16_t(rng() % 200);
            r.whitePlayer = int16_t(rng() % 200);
            r.winner = int8_t(rng() % 3);
            r.playedAt = int32_t(946684800 + rng() % (86400u * 3650));
            normaliseMoves(r, randomGame(rng));
        }
        std::fprintf(stderr, "made in %.1f s, sizeof %zu\n",
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(),
            sizeof(GameRecord));
        return c;
    }();
    return c;
}

void BM_Criteria(benchmark::State& state)
{
    const RecordCollection& c = million();
    SearchCriteria q;
    q.black = 5;
    q.white = 7;
    q.winner = 1;
    q.from = { "2003", "1", "1" };
    q.to = { "2006", "12", "31" };
    size_t n = 0;
    for (auto _ : state)
        n = searchRecords(c, q).size();
    state.counters["found"] = double(n);
}
BENCHMARK(BM_Criteria)->Unit(benchmark::kMillisecond);

void BM_Prefix(benchmark::State& state)
{
    const RecordCollection& c = million();
    SearchCriteria q;
    q.moves = playedMoves(c.records[12345]);
    q.movesCompared = 8;
    size_t n = 0;
    for (auto _ : state)
        n = searchRecords(c, q).size();
    state.counters["found"] = double(n);
}
BENCHMARK(BM_Prefix)->Unit(benchmark::kMillisecond);

} // namespace
namespace {
void BM_RawTouch(benchmark::State& state)
{
    const RecordCollection& c = million();
    for (auto _ : state) {
        int64_t s = 0;
        for (const GameRecord& r : c.records)
            s += r.folder + r.playedAt;
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_RawTouch)->Unit(benchmark::kMillisecond);
void BM_RawCompact(benchmark::State& state)
{
    static std::vector<int32_t> v(4000000, 1);
    for (auto _ : state) {
        int64_t s = 0;
        for (int32_t x : v)
            s += x;
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_RawCompact)->Unit(benchmark::kMillisecond);
}
