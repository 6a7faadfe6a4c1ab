#include "capture/tablescan.h"

#include "capture/tabledesktop.h"
#include "capture/tablereader.h"
#include "capture/tablesnapshot.h"
#include "capture/tabletitle.h"
#include "net/notices.h"

namespace {

// The client's result report is grey (192 ± 6) just above the middle of the window; a click just
// below the middle takes it away.
bool isReportGrey(Rgb pixel)
{
    const auto grey = [](int value) { return value >= 186 && value <= 198; };
    return grey(pixel.red) && grey(pixel.green) && grey(pixel.blue);
}

} // namespace

int tableScan(TableDesktop& desktop, TableScanSink& sink)
{
    int read = 0;
    for (const uint32_t window : desktop.topLevelWindows()) {
        const std::string title = desktop.title(window);
        if (!tabletitle::isTableTitle(title))
            continue;
        TableSnapshot snapshot;
        tabletitle::parse(title, snapshot);

        WindowNotice seen(WindowCaptureAlive, 0, static_cast<uint32_t>(snapshot.table));
        seen.text = ByteString(snapshot.room);
        sink.notify(seen);

        const std::unique_ptr<PixelSource> pixels = desktop.pixels(window);
        if (!pixels)
            continue;
        int width = 0;
        int height = 0;
        if (desktop.size(window, width, height)) {
            Rgb probe;
            if (pixels->pixel(width / 2, height / 2 - 2, probe) && isReportGrey(probe))
                desktop.click(window, width / 2, height / 2 + 4);
        }
        if (tablereader::readTable(*pixels, title, snapshot) != 0)
            continue;
        ++read;
        WindowNotice table(WindowCaptureTable);
        table.snapshot = &snapshot;
        if (sink.notify(table) == 0)
            sink.openCaptureWindow(snapshot);
    }
    sink.notify(WindowNotice(WindowCaptureScanEnd));
    return read;
}
