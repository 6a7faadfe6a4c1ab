#include "text/cp932.h"

#include <benchmark/benchmark.h>

namespace {

// A typical list row's texts: a Japanese player name, a result and a title.
const std::string kSample = cp932::fromUtf8("村上　健 vs 谷田 邦彦 黒 36-28 第1回 名人戦 ～ 決勝");

void BM_Cp932ToUtf8(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(cp932::toUtf8(kSample));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSample.size()));
}
BENCHMARK(BM_Cp932ToUtf8);

void BM_Utf8ToCp932(benchmark::State& state)
{
    const std::string utf8 = cp932::toUtf8(kSample);
    for (auto _ : state)
        benchmark::DoNotOptimize(cp932::fromUtf8(utf8));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * utf8.size()));
}
BENCHMARK(BM_Utf8ToCp932);

} // namespace
