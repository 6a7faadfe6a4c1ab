// The opening explorer beside the record viewer, on the million generated records: opening a
// viewer until its explorer shows the moves from the start (the index made on another thread,
// with the longest turn of the GUI thread's event loop meanwhile), and one step of the viewer with
// the explorer's list filled again for the new position.
#include "generatedcollection.h"

#include "library/recordlibrary.h"
#include "records/collectionfile.h"
#include "records/openingbook.h"
#include "viewer/openingexplorerpanel.h"
#include "viewer/recordviewer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

struct Stage {
    Stage()
    {
        RecordCollection data;
        if (loadCollection(generatedCollectionPath(), data, library.openingBook()) != 0)
            std::abort();
        CollectionTree& tree = library.collection(myRecordsCollection);
        tree.adopt(std::move(data));
        for (slot = 0; slot < tree.slotCount(); ++slot) {
            if (tree.recordIsLive(slot) && tree.record(slot).moves.size() == 60)
                break;
        }
    }

    RecordLibrary library;
    int slot = 0;
};

Stage& stage()
{
    static Stage s;
    return s;
}

std::unique_ptr<RecordViewer> openViewerAtStart()
{
    auto viewer
        = std::make_unique<RecordViewer>(stage().library, myRecordsCollection, stage().slot);
    if (!viewer->create(nullptr))
        std::abort();
    viewer->goToStart();
    viewer->show();
    return viewer;
}

// True once the list shows moves rather than the wait line.
bool showsMoves(const OpeningExplorerPanel& panel)
{
    return !panel.moves().empty() && panel.moveList()->topLevelItemCount() > 0
        && panel.moveList()->topLevelItem(0)->data(0, Qt::UserRole).isValid();
}

void BM_OpenViewerUntilExplorerShows(benchmark::State& state)
{
    stage();
    double longestTurnMs = 0;
    double openMs = 0;
    for (auto _ : state) {
        QElapsedTimer open;
        open.start();
        std::unique_ptr<RecordViewer> viewer = openViewerAtStart();
        openMs = std::max(openMs, double(open.nsecsElapsed()) / 1e6);
        const OpeningExplorerPanel& panel = *viewer->explorerPanel();
        while (!showsMoves(panel)) {
            QElapsedTimer turn;
            turn.start();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            longestTurnMs = std::max(longestTurnMs, double(turn.nsecsElapsed()) / 1e6);
        }
        state.PauseTiming();
        viewer.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["open_ms"] = openMs;
    state.counters["longest_turn_ms"] = longestTurnMs;
}
BENCHMARK(BM_OpenViewerUntilExplorerShows)->Unit(benchmark::kMillisecond)->UseRealTime();

// One step forward through the record's 60 moves (back to the start after the last), the
// explorer asked about the position reached each time.
void BM_StepWithExplorer(benchmark::State& state)
{
    std::unique_ptr<RecordViewer> viewer = openViewerAtStart();
    const OpeningExplorerPanel& panel = *viewer->explorerPanel();
    while (!showsMoves(panel))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    for (auto _ : state) {
        if (viewer->game().cursor() == viewer->game().length())
            viewer->goToStart();
        else
            viewer->stepForward();
    }
    state.counters["records"] = stage().library.collection(myRecordsCollection).slotCount();
}
BENCHMARK(BM_StepWithExplorer)->Unit(benchmark::kMillisecond);

} // namespace
