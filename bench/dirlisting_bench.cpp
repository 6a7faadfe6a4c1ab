// Applying a 100,000-record listing from another user to the network computers, in 25 ms
// slices: the total time and the longest slice.
#include "library/librarynoticesink.h"
#include "library/libraryoperations.h"
#include "library/libraryprompter.h"
#include "library/libraryviewobserver.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "library/sharedfolders.h"
#include "records/recordline.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

struct Quiet : LibraryPrompter, LibraryViewObserver, LibraryNoticeSink {
    bool confirm(const std::string&, const std::string&) override { return true; }
    void showError(const std::string&, const std::string&) override { }
    FolderKey shownFolder() const override { return {}; }
    void folderInserted(FolderKey) override { }
    void folderRemoved(FolderKey) override { }
    void folderChildrenRemoved(FolderKey) override { }
    void folderRenamed(FolderKey) override { }
    void folderShared(FolderKey, bool) override { }
    void folderRowAdded(FolderKey) override { }
    void folderRowUpdated(FolderKey) override { }
    void recordRowAdded(int, int) override { }
    void recordRowUpdated(int, int) override { }
    void recordRowRemoved(int, int) override { }
    void reloadList() override { }
    int32_t sendWindowNotice(int32_t, uint32_t, uint32_t) override { return 0; }
};

void BM_ApplyDir100k(benchmark::State& state)
{
    GameRecord sample;
    sample.comment = "a comment of some length, as records carry";
    PlayerNameTable names;
    StringList dir { "XTELL", "bob", "DIR", "\\share\\" };
    for (int i = 0; i < 100000; ++i) {
        sample.name = "game" + std::to_string(i);
        dir.append(recordToLine(sample, names));
    }
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RecordLibrary library;
        library.collection(networkCollection).ensureRoot("net", 0);
        Settings settings;
        Quiet quiet;
        LibraryOperations ops { library, settings, quiet, quiet, quiet };
        SharedFolderExchange exchange { library, ops, quiet, quiet };
        StringList copy = dir;
        state.ResumeTiming();
        auto application = exchange.beginDir(std::move(copy), 1);
        bool done = false;
        while (!done) {
            const auto start = std::chrono::steady_clock::now();
            done = application->run(std::chrono::milliseconds(25));
            const double ms = std::chrono::duration<double, std::milli>(
                std::chrono::steady_clock::now() - start)
                                  .count();
            longest = std::max(longest, ms);
        }
    }
    state.counters["longest_slice_ms"] = longest;
}
BENCHMARK(BM_ApplyDir100k)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
