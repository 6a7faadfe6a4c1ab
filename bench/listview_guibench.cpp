// The record list over a folder of 100,000 records (and a few folders): showing it and sorting it
// by each column, each measured up to the painted window.
#include "app/librarydocument.h"
#include "app/userprompter.h"
#include "buildpaths.h"
#include "library/settings.h"
#include "ui/internalclipboard.h"
#include "ui/libraryimagelist.h"
#include "ui/recordlistmodel.h"
#include "ui/recordlistview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int recordCount = 100000;
constexpr int folderCount = 50;

// Answers nothing: the benchmark asks no questions.
class SilentPrompter : public UserPrompter {
public:
    bool confirm(const std::string&, const std::string&) override { return false; }
    void showError(const std::string&, const std::string&) override { }
    bool retry(const std::string&, const std::string&) override { return false; }
};

// The program's document over a generated collection whose root holds every record, with the
// record list beside it as the main window shows it.
struct Stage {
    Stage()
        : images(*QApplication::style())
    {
        const QString dir = QDir(data.path()).absolutePath();
        const std::string command = std::string(PAVIONE_CLI_PATH) + " gen --records "
            + std::to_string(recordCount) + " --folders 0 --seed 7 '"
            + QDir(dir).filePath("private.kif").toStdString() + "'";
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "could not generate the collection\n");
        QFile::copy(
            QStringLiteral(PAVIONE_RES_DIR "/opening.txt"), QDir(dir).filePath("opening.txt"));
        document = std::make_unique<LibraryDocument>(
            settings, dir.toStdString() + "/", clipboard, &prompter);
        for (int i = 0; i < folderCount; ++i)
            document->operations().newFolder(0, 0, "folder " + std::to_string(i));
        list = std::make_unique<RecordListView>(*document, images);
        list->resize(600, 400);
        list->show();
    }

    QTemporaryDir data;
    Settings settings;
    InternalClipboard clipboard;
    SilentPrompter prompter;
    LibraryImageList images;
    std::unique_ptr<LibraryDocument> document;
    std::unique_ptr<RecordListView> list;
};

Stage& stage()
{
    static Stage s;
    return s;
}

// Paints the list as the screen would: layout of the rows, then the visible ones drawn.
void paint(RecordListView& list)
{
    benchmark::DoNotOptimize(list.grab());
}

void BM_ShowFolder(benchmark::State& state)
{
    Stage& s = stage();
    const FolderKey root { 0, 0 };
    for (auto _ : state) {
        state.PauseTiming();
        s.list->showFolder({});
        paint(*s.list);
        state.ResumeTiming();
        s.list->showFolder(root);
        paint(*s.list);
    }
    state.counters["rows"] = s.list->listModel().rowCount();
    // The scroll range shows that every row was laid out within the measured time.
    state.counters["scrollRange"] = s.list->verticalScrollBar()->maximum();
}
BENCHMARK(BM_ShowFolder)->Unit(benchmark::kMillisecond)->Iterations(10);

// Sorting by one column from the folder's own order, in ascending and descending order.
void BM_SortByColumn(benchmark::State& state)
{
    Stage& s = stage();
    const int column = static_cast<int>(state.range(0));
    const bool descending = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.list->showFolder({ 0, 0 });
        paint(*s.list);
        state.ResumeTiming();
        s.list->listModel().sortRows(column, descending);
        paint(*s.list);
    }
    state.SetLabel(s.list->listModel()
                       .headerData(column, Qt::Horizontal, Qt::DisplayRole)
                       .toString()
                       .toStdString());
}
BENCHMARK(BM_SortByColumn)
    ->ArgsProduct({ { 0, 1, 2, 3, 4, 5 }, { 0, 1 } })
    ->ArgNames({ "column", "descending" })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
