// The search window over a million-record own collection: one search with the result list filled
// again and painted, for a search that finds a few records and for one that finds about a third
// of them, and the incremental search that a step on the preview board runs.
#include "app/librarydocument.h"
#include "app/userprompter.h"
#include "board/squares.h"
#include "buildpaths.h"
#include "generatedcollection.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "ui/internalclipboard.h"
#include "ui/libraryimagelist.h"
#include "ui/recordlistmodel.h"
#include "viewer/picturebutton.h"
#include "viewer/previewboard.h"
#include "viewer/searchwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

// Answers nothing: the benchmark asks no questions.
class SilentPrompter : public UserPrompter {
public:
    bool confirm(const std::string&, const std::string&) override { return false; }
    void showError(const std::string&, const std::string&) override { }
    bool retry(const std::string&, const std::string&) override { return false; }
};

// The document over the generated collection as the own records, and one search window on it.
struct Stage {
    Stage()
        : images(*QApplication::style())
    {
        const QString dir = QDir(data.path()).absolutePath();
        std::filesystem::create_symlink(
            generatedCollectionPath(), QDir(dir).filePath("private.kif").toStdString());
        QFile::copy(
            QStringLiteral(PAVIONE_RES_DIR "/opening.txt"), QDir(dir).filePath("opening.txt"));
        document = std::make_unique<LibraryDocument>(
            settings, dir.toStdString() + "/", clipboard, &prompter);
        window = std::make_unique<SearchWindow>(document->library(), images);
        window->create(nullptr);
        window->show();
        // The first search by opening sorts the index; the measured ones find it made.
        window->search();
    }

    // Plays the first moves of a record on the preview board, as the user would click them.
    void playOpeningOf(int slot, int moves)
    {
        PreviewBoard& board = *window->preview();
        while (board.stepBack()) { }
        const MoveList played = playedMoves(document->library().collection(0).record(slot));
        for (int i = 0; i < moves && i < played.size(); ++i)
            board.play({ board::columnOf(played[i]), board::rowOf(played[i]) });
    }

    QTemporaryDir data;
    Settings settings;
    InternalClipboard clipboard;
    SilentPrompter prompter;
    LibraryImageList images;
    std::unique_ptr<LibraryDocument> document;
    std::unique_ptr<SearchWindow> window;
};

Stage& stage()
{
    static Stage s;
    return s;
}

// The list as the screen shows it after a search: rows laid out, the visible ones drawn.
void paintResults(Stage& s)
{
    benchmark::DoNotOptimize(s.window->resultList()->grab());
}

void report(benchmark::State& state, Stage& s)
{
    state.counters["results"] = s.window->resultModel().rowCount();
    state.counters["scrollRange"] = s.window->resultList()->verticalScrollBar()->maximum();
}

// 検索 with the opening of one record played to the given depth.
void BM_SearchByOpening(benchmark::State& state)
{
    Stage& s = stage();
    s.window->incrementalBox()->setChecked(false);
    s.playOpeningOf(4321, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        s.window->search();
        paintResults(s);
    }
    report(state, s);
}
// Two moves: one of the three second moves, a third of the games; six moves: a few dozen; ten
// moves: a few games.
BENCHMARK(BM_SearchByOpening)
    ->Arg(2)
    ->Arg(6)
    ->Arg(10)
    ->ArgName("moves")
    ->Unit(benchmark::kMillisecond);

// 検索 with the winner only, about half of the games, and no opening.
void BM_SearchByWinner(benchmark::State& state)
{
    Stage& s = stage();
    s.window->incrementalBox()->setChecked(false);
    s.playOpeningOf(0, 0);
    s.window->winnerList()->setCurrentIndex(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        s.window->search();
        paintResults(s);
    }
    s.window->winnerList()->setCurrentIndex(0);
    report(state, s);
}
BENCHMARK(BM_SearchByWinner)->Arg(3)->Arg(1)->ArgName("winner")->Unit(benchmark::kMillisecond);

// The incremental search of a step on the preview board: 戻る and 進む in turn around the given
// depth, each searching again and refilling the list.
void BM_IncrementalStep(benchmark::State& state)
{
    Stage& s = stage();
    s.window->incrementalBox()->setChecked(true);
    s.playOpeningOf(4321, static_cast<int>(state.range(0)));
    PreviewBoard& board = *s.window->preview();
    bool back = true;
    for (auto _ : state) {
        if (back)
            board.stepBack();
        else
            board.stepForward();
        back = !back;
        paintResults(s);
    }
    s.window->incrementalBox()->setChecked(false);
    report(state, s);
}
BENCHMARK(BM_IncrementalStep)->Arg(3)->Arg(10)->ArgName("moves")->Unit(benchmark::kMillisecond);

// Opening a window: the name lists filled with every player of the collection, then painted.
void BM_OpenWindow(benchmark::State& state)
{
    Stage& s = stage();
    for (auto _ : state) {
        SearchWindow window(s.document->library(), s.images);
        window.create(nullptr);
        window.show();
        benchmark::DoNotOptimize(window.grab());
    }
    state.counters["players"] = s.document->library().collection(0).playerNames().size();
}
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond);

} // namespace
