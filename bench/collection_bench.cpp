#include "buildpaths.h"
#include "generatedcollection.h"
#include "records/collectionfile.h"
#include "records/openingbook.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

const OpeningBook& openingBook()
{
    static const OpeningBook book = [] {
        OpeningBook b;
        b.load(PAVIONE_RES_DIR "/opening.txt");
        return b;
    }();
    return book;
}

long residentBytes()
{
    long pages = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * ::sysconf(_SC_PAGESIZE);
}

// Loading names every record's opening. The resident memory that the loaded collection adds is
// taken on the first load of the run, before the allocator holds freed memory for reuse.
void BM_LoadCollection(benchmark::State& state)
{
    const std::string& path = generatedCollectionPath();
    const OpeningBook& book = openingBook();
    static long bytesPerRecord = -1;
    for (auto _ : state) {
        const long before = residentBytes();
        auto collection = std::make_unique<RecordCollection>();
        if (loadCollection(path, *collection, book) != 0
            || collection->records.size() != kGeneratedRecords)
            state.SkipWithError("the generated collection did not load");
        if (bytesPerRecord < 0)
            bytesPerRecord = (residentBytes() - before) / long(collection->records.size());
        state.PauseTiming();
        collection.reset();
        state.ResumeTiming();
    }
    state.counters["records"] = kGeneratedRecords;
    state.counters["resident_bytes_per_record"] = double(bytesPerRecord);
}
BENCHMARK(BM_LoadCollection)->Unit(benchmark::kMillisecond)->Iterations(3);

// Saving writes a temporary file, flushes it to the disk and renames it over the old one.
void BM_SaveCollection(benchmark::State& state)
{
    RecordCollection collection;
    loadCollection(generatedCollectionPath(), collection, openingBook());
    const std::string out = generatedCollectionPath() + ".saved";
    for (auto _ : state) {
        if (saveCollection(out, collection) != 0)
            state.SkipWithError("saving failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(out)));
    std::filesystem::remove(out);
}
BENCHMARK(BM_SaveCollection)->Unit(benchmark::kMillisecond)->Iterations(3);

// Naming the opening of every record of the collection, as loading does.
void BM_OpeningLookup(benchmark::State& state)
{
    RecordCollection collection;
    loadCollection(generatedCollectionPath(), collection, openingBook());
    const OpeningBook& book = openingBook();
    for (auto _ : state) {
        long named = 0;
        for (const GameRecord& r : collection.records)
            named += book.lookup(r.moves) >= 0;
        benchmark::DoNotOptimize(named);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(collection.records.size()));
}
BENCHMARK(BM_OpeningLookup)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
