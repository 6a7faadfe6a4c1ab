// One table scan over the X11 display, as the program makes it every 200 ms while capture is on:
// listing the top-level windows with their titles, then for each table window its report probe,
// 64 cells, two name boxes and the seat probe. The bench opens its own table window, drawn as the
// client draws one, on the display named by DISPLAY (run it under xvfb-run -a).

#include "../tests/x11/owntablewindow.h"
#include "capture/tablepicture.h"
#include "capture/tablescan.h"
#include "capture/tabletitle.h"
#include "net/notices.h"
#include "platform/x11desktop.h"
#include "text/cp932.h"

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

class CountingSink : public TableScanSink {
public:
    int snapshots = 0;
    int32_t notify(const Notice& notice) override
    {
        if (const auto* w = dynamic_cast<const WindowNotice*>(&notice))
            snapshots += w->kind == WindowCaptureTable;
        return 1;
    }
    void openCaptureWindow(const TableSnapshot&) override { }
};

void BM_X11TableScan(benchmark::State& state)
{
    OwnTableWindow window(int(state.range(0)));
    X11Desktop desktop;
    if (!window.ok() || !desktop.connected()) {
        state.SkipWithError("no X display: run under xvfb-run -a");
        return;
    }
    CountingSink sink;
    tableScan(desktop, sink);
    window.paint();
    sink.snapshots = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(tableScan(desktop, sink));
    if (sink.snapshots != int(state.iterations()))
        state.SkipWithError("the table window was not read in every scan");
}
BENCHMARK(BM_X11TableScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
