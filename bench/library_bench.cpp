#include "board/randomgame.h"
#include "library/librarynoticesink.h"
#include "library/libraryoperations.h"
#include "library/libraryprompter.h"
#include "library/libraryviewobserver.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "text/cp932.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>

namespace {

constexpr int kRecords = 100000;

// Says yes to every question and ignores the rest, as a user who confirms would.
struct QuietDesktop : LibraryPrompter, NoLibraryViews, LibraryNoticeSink {
    bool confirm(const std::string&, const std::string&) override { return true; }
    void showError(const std::string&, const std::string&) override { }
    FolderKey shownFolder() const override { return { 0, 1 }; }
    int32_t sendWindowNotice(int32_t, uint32_t, uint32_t) override
    {
        ++notices;
        return 0;
    }
    int notices = 0;
};

struct Bench {
    Bench()
    {
        for (int c = 0; c < collectionCount; ++c)
            library.collection(c).ensureRoot("root", 0);
    }
    RecordLibrary library;
    Settings settings;
    QuietDesktop desktop;
    LibraryOperations ops { library, settings, desktop, desktop, desktop };
};

const std::vector<MoveList>& games()
{
    static const std::vector<MoveList> pool = [] {
        std::mt19937 random(3);
        std::vector<MoveList> games;
        for (int i = 0; i < 1000; ++i)
            games.push_back(randomGame(random));
        return games;
    }();
    return pool;
}

// count records in a new folder of collection 0, with a few hundred players and real games; name
// gives each record's name from its number.
template <typename Name> int fillFolder(Bench& bench, const char* folderName, int count, Name name)
{
    CollectionTree& own = bench.library.collection(myRecordsCollection);
    const int folder = own.addFolder(0, folderName, 0);
    std::mt19937 random(1);
    std::vector<int> players;
    for (int i = 0; i < 300; ++i)
        players.push_back(own.playerNames().add("player " + std::to_string(i)));
    for (int i = 0; i < count; ++i) {
        GameRecord record;
        record.name = name(i);
        record.blackPlayer = static_cast<int16_t>(players[random() % players.size()]);
        record.whitePlayer = static_cast<int16_t>(players[random() % players.size()]);
        record.moves = games()[i % games().size()];
        own.addRecord(folder, std::move(record));
    }
    return folder;
}

std::vector<ItemRef> allRecords(const CollectionTree& t, int folder)
{
    std::vector<ItemRef> items;
    for (const int slot : t.folder(folder).records)
        items.push_back(recordItem(slot));
    return items;
}

// 100,000 records, all of one name, copied into a folder already holding 100,000 of that name:
// the copies are named コピー～棋譜, コピー(2)～棋譜, … コピー(100000)～棋譜.
void BM_CopyManyOfOneNameIntoAFullFolder(benchmark::State& state)
{
    const std::string name = cp932::fromUtf8("棋譜");
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<Bench>();
        const int source = fillFolder(*bench, "source", kRecords, [&](int) { return name; });
        const int target = fillFolder(*bench, "target", kRecords, [&](int) { return name; });
        const std::vector<ItemRef> items = allRecords(bench->library.collection(0), source);
        state.ResumeTiming();
        bench->ops.moveOrCopy(0, source, items, 0, target, false);
        state.PauseTiming();
        const CollectionTree& own = bench->library.collection(0);
        const int last = own.folder(target).records.back();
        if (own.record(last).name != cp932::fromUtf8("コピー(100000)～棋譜"))
            state.SkipWithError("the last copy is not named as expected");
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyManyOfOneNameIntoAFullFolder)->Unit(benchmark::kMillisecond)->Iterations(3);

// 100,000 records of distinct names into a folder holding each name and its first copy name, so
// that every copy is named コピー(2)～ and its name.
void BM_CopyDistinctNamesIntoAFullFolder(benchmark::State& state)
{
    const std::string prefix = cp932::fromUtf8("コピー～");
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<Bench>();
        const auto recordName = [](int i) { return "game " + std::to_string(i); };
        const int source = fillFolder(*bench, "source", kRecords, recordName);
        const int target = fillFolder(*bench, "target", 2 * kRecords,
            [&](int i) { return (i % 2 ? prefix : std::string()) + recordName(i / 2); });
        const std::vector<ItemRef> items = allRecords(bench->library.collection(0), source);
        state.ResumeTiming();
        bench->ops.moveOrCopy(0, source, items, 0, target, false);
        state.PauseTiming();
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyDistinctNamesIntoAFullFolder)->Unit(benchmark::kMillisecond)->Iterations(3);

// A folder of 100,000 records deleted to the trash: copied with its players into the trash,
// then removed.
void BM_DeleteLargeFolderToTrash(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<Bench>();
        const int folder = fillFolder(
            *bench, "large", kRecords, [](int i) { return "game " + std::to_string(i); });
        state.ResumeTiming();
        bench->ops.deleteFolder(0, folder, 0, 0);
        state.PauseTiming();
        if (bench->library.collection(trashCollection).subtreeCounts(0).records != kRecords)
            state.SkipWithError("the trash does not hold the folder's records");
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteLargeFolderToTrash)->Unit(benchmark::kMillisecond)->Iterations(3);

// Every row of a 100,000-record list selected and deleted to the trash: one notice per record.
void BM_DeleteLargeSelectionToTrash(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<Bench>();
        const int folder = fillFolder(
            *bench, "large", kRecords, [](int i) { return "game " + std::to_string(i); });
        std::vector<ItemRef> items = allRecords(bench->library.collection(0), folder);
        // As a list sorted on another column would hand them over.
        std::shuffle(items.begin(), items.end(), std::mt19937(2));
        state.ResumeTiming();
        bench->ops.deleteItems(0, items, 0, 0);
        state.PauseTiming();
        if (!bench->library.collection(0).folder(folder).records.empty())
            state.SkipWithError("records were left behind");
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteLargeSelectionToTrash)->Unit(benchmark::kMillisecond)->Iterations(3);

// The name test in a folder of a million records.
void BM_NameTakenInAMillionRecordFolder(benchmark::State& state)
{
    Bench bench;
    CollectionTree& own = bench.library.collection(0);
    const int folder = own.addFolder(0, "million", 0);
    for (int i = 0; i < 1000000; ++i) {
        GameRecord record;
        record.name = "game " + std::to_string(i);
        own.addRecord(folder, std::move(record));
    }
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(own.nameTaken(folder, "game " + std::to_string(i)));
        i = (i + 7919) % 2000000;
    }
}
BENCHMARK(BM_NameTakenInAMillionRecordFolder);

} // namespace
