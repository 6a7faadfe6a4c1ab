// A 100,000-record listing from another user applied in the running program while the list shows
// its folder: the time until it is in and the longest stretch the event loop had no turn (a
// zero-interval timer measures the gaps), the list's reload included. The first run fills the
// folder, the later ones replace the 100,000 records the one before left.
#include "app/librarydocument.h"
#include "app/networkclient.h"
#include "app/networkprompts.h"
#include "app/pavioneapp.h"
#include "library/recordlibrary.h"
#include "net/commanddispatcher.h"
#include "net/messageid.h"
#include "records/gamerecord.h"
#include "records/playernametable.h"
#include "records/recordline.h"
#include "ui/connectdialog.h"
#include "ui/foldertreeview.h"
#include "ui/mainwindow.h"
#include "ui/recordlistmodel.h"
#include "ui/recordlistview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include <sys/resource.h>

namespace {

// This thread's processor time in milliseconds: on a machine shared with other work, wall-clock
// gaps also count the time the thread waited for a processor.
double threadCpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_THREAD, &usage);
    const auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct NoPrompts : NetworkPrompts {
    bool askLogin(LoginFields&, const QUrl&) override { return false; }
    bool askNetworkSettings(std::string&, bool&) override { return false; }
    void warn(const std::string&, const std::string&) override { }
    void openPage(const QUrl&) override { }
    bool startProgram(const QString&, const QStringList&) override { return false; }
};

StringList dirMessage(int records)
{
    GameRecord sample;
    sample.comment = "a comment of some length, as records carry";
    PlayerNameTable names;
    StringList dir { "XTELL", "bob", "DIR", "\\share\\" };
    for (int i = 0; i < records; ++i) {
        sample.name = "game" + std::to_string(i);
        dir.append(recordToLine(sample, names));
    }
    return dir;
}

void BM_ApplyDirInTheProgram(benchmark::State& state)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settingsDir;
    QTemporaryDir dataDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    NoPrompts prompts;
    PavioneApp app;
    app.setNetworkPrompts(&prompts);
    app.setSettingsFile(settingsDir.filePath(QStringLiteral("settings.ini")));
    // Nothing listens on port 1: the program stays offline and takes the listing as delivered.
    if (!app.start({ QStringLiteral("pavione"), QStringLiteral("--data-dir"), dataDir.path(),
            QStringLiteral("--server"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
            QStringLiteral("1"), QStringLiteral("--presence-port"), QStringLiteral("1") })) {
        state.SkipWithError("the program did not start");
        return;
    }
    NetworkClient& client = *app.networkClient();
    CommandDispatcher& dispatcher = client.session().dispatcher();
    const StringList big = dirMessage(static_cast<int>(state.range(0)));
    // A first, empty listing makes the folder, which the list then shows. The first run fills
    // it; the later ones replace the records the one before left.
    dispatcher.handle(dirMessage(0));
    QApplication::processEvents();
    const CollectionTree& network = app.document()->library().collection(networkCollection);
    const int share = network.findChild(network.findChild(0, "bob"), "share");
    app.mainFrame()->folderTreeView()->select({ networkCollection, share });
    QApplication::processEvents();
    double longestGap = 0;
    double total = 0;
    double begin = 0;
    double longestCpuGap = 0;
    for (auto _ : state) {
        // Handed over, as the dispatch of a received message hands it.
        StringList message = big;
        QElapsedTimer sinceTurn;
        QTimer probe;
        probe.setInterval(0);
        double cpuAtTurn = threadCpuMs();
        QObject::connect(&probe, &QTimer::timeout, [&] {
            longestGap = std::max(longestGap, sinceTurn.nsecsElapsed() / 1e6);
            sinceTurn.restart();
            const double cpu = threadCpuMs();
            longestCpuGap = std::max(longestCpuGap, cpu - cpuAtTurn);
            cpuAtTurn = cpu;
        });
        QElapsedTimer clock;
        clock.start();
        sinceTurn.start();
        probe.start();
        const double startCpu = threadCpuMs();
        dispatcher.handle(std::move(message));
        begin = std::max(begin, threadCpuMs() - startCpu);
        while (client.applyingListing())
            QApplication::processEvents();
        longestGap = std::max(longestGap, sinceTurn.nsecsElapsed() / 1e6);
        longestCpuGap = std::max(longestCpuGap, threadCpuMs() - cpuAtTurn);
        probe.stop();
        total = std::max(total, clock.nsecsElapsed() / 1e6);
        if (app.mainFrame()->recordListView()->listModel().rowCount()
            != static_cast<int>(state.range(0)))
            state.SkipWithError("the list does not show the listing");
    }
    state.counters["total_ms"] = total;
    state.counters["longest_turn_ms"] = longestGap;
    state.counters["longest_turn_cpu_ms"] = longestCpuGap;
    // Finding the folder and taking out the records a listing before left, before any slice.
    state.counters["start_cpu_ms"] = begin;
    app.exit();
}
BENCHMARK(BM_ApplyDirInTheProgram)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
