// The record viewer: opening one on a finished 60-move record, up to its painted window, and one
// step back or forward with the board brought up to date and painted.
#include "board/othellogame.h"
#include "board/randomgame.h"
#include "library/recordlibrary.h"
#include "records/gamerecord.h"
#include "records/openingbook.h"
#include "viewer/boardimage.h"
#include "viewer/recordviewer.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>

namespace {

struct Stage {
    Stage()
    {
        std::mt19937 rng(3);
        MoveList moves;
        do
            moves = randomGame(rng);
        while (moves.size() != 60);
        OthelloGame game;
        game.reset();
        game.selectVariant(OthelloBoard::kVariantStandard);
        game.replay(moves);
        CollectionTree& tree = library.collection(myRecordsCollection);
        tree.ensureRoot("root", 0);
        GameRecord record = recordFromGame(game, "final", library.openingBook());
        record.comment = "one\r\ntwo";
        slot = tree.addRecord(0, record);
    }

    RecordLibrary library;
    int slot = 0;
};

Stage& stage()
{
    static Stage s;
    return s;
}

std::unique_ptr<RecordViewer> openViewer()
{
    auto viewer
        = std::make_unique<RecordViewer>(stage().library, myRecordsCollection, stage().slot);
    if (!viewer->create(nullptr))
        std::abort();
    viewer->show();
    viewer->repaint();
    return viewer;
}

// From the constructor to the first painted window, the shared pictures and fonts made already.
void BM_OpenViewer(benchmark::State& state)
{
    openViewer();
    for (auto _ : state) {
        auto viewer = openViewer();
        state.PauseTiming();
        viewer.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenViewer)->Unit(benchmark::kMillisecond);

// One step back or forward in the middle of the game, the changed squares painted in the window.
void BM_Step(benchmark::State& state)
{
    auto viewer = openViewer();
    viewer->goToStart();
    for (int i = 0; i < 30; ++i)
        viewer->stepForward();
    viewer->repaint();
    bool forward = true;
    for (auto _ : state) {
        if (forward)
            viewer->stepForward();
        else
            viewer->stepBack();
        forward = !forward;
        viewer->repaint(BoardImage::shownRect());
    }
}
BENCHMARK(BM_Step)->Unit(benchmark::kMicrosecond);

// The board alone: the squares that one move changes, against the whole board drawn again.
void BM_BoardStep(benchmark::State& state)
{
    const bool whole = state.range(0) != 0;
    OthelloGame game;
    game.reset();
    game.selectVariant(OthelloBoard::kVariantStandard);
    std::mt19937 rng(3);
    game.replay(randomGame(rng));
    while (game.cursor() > 30)
        game.undo();
    BoardImage picture;
    picture.paintDiscBoard(game);
    bool forward = true;
    for (auto _ : state) {
        if (forward)
            game.redo();
        else
            game.undo();
        forward = !forward;
        const MoveEntry* last = game.current();
        const BoardSquare mark { board::columnOf(last->square), board::rowOf(last->square) };
        if (whole) {
            picture.paintDiscBoard(game);
            picture.markSquare(mark.column, mark.row);
        } else {
            benchmark::DoNotOptimize(picture.updateDiscBoard(game, mark));
        }
    }
    state.SetLabel(whole ? "whole board" : "changed squares");
}
BENCHMARK(BM_BoardStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
