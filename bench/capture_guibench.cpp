// One table scan over the X11 display, as the program makes it every 200 ms while capture is on:
// listing the top-level windows with their titles, then for each table window its report probe,
// 64 cells, two name boxes and the seat probe. The bench opens its own table window, drawn as the
// client draws one, on the display named by DISPLAY (run it under xvfb-run -a).

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

// A table window of our own: mapped, titled and painted once.
class OwnTableWindow {
public:
    explicit OwnTableWindow(int layout)
    {
        m_connection = xcb_connect(nullptr, nullptr);
        // The first connection to a display that xvfb-run has only just started may fail.
        for (int attempt = 0; attempt < 50 && xcb_connection_has_error(m_connection); ++attempt) {
            xcb_disconnect(m_connection);
            usleep(100000);
            m_connection = xcb_connect(nullptr, nullptr);
        }
        if (xcb_connection_has_error(m_connection))
            return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        TableScene scene;
        scene.layout = layout;
        for (int i = 0; i < 64; ++i)
            scene.cells[size_t(i)] = uint8_t(i % 3);
        scene.upperName = "OthelloKING_1975";
        scene.lowerName = "taiga99";
        const Picture picture = tablepicture::draw(scene);
        m_window = xcb_generate_id(m_connection);
        const uint32_t values[] = { screen->white_pixel };
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0,
            uint16_t(picture.width()), uint16_t(picture.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
            screen->root_visual, XCB_CW_BACK_PIXEL, values);
        const std::string title = cp932::toUtf8(tabletitle::make("bench", 1, "host"));
        xcb_intern_atom_reply_t* name = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, 12, "_NET_WM_NAME"), nullptr);
        xcb_intern_atom_reply_t* utf8 = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, 11, "UTF8_STRING"), nullptr);
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, name->atom, utf8->atom,
            8, uint32_t(title.size()), title.data());
        std::free(name);
        std::free(utf8);
        xcb_map_window(m_connection, m_window);
        m_picture = picture;
        m_depth = screen->root_depth;
        paint();
    }

    // Draws the picture into the window again: the capture's first scan moves the window's
    // pixels off-screen, which loses what an unattended window showed.
    void paint()
    {
        const Picture& picture = *m_picture;
        xcb_gcontext_t gc = xcb_generate_id(m_connection);
        xcb_create_gc(m_connection, gc, m_window, 0, nullptr);
        // Row by row, so that every request stays small.
        std::vector<uint8_t> row(size_t(picture.width()) * 4);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const Rgb p = picture.at(x, y);
                row[size_t(x) * 4 + 0] = p.blue;
                row[size_t(x) * 4 + 1] = p.green;
                row[size_t(x) * 4 + 2] = p.red;
                row[size_t(x) * 4 + 3] = 0;
            }
            xcb_put_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_window, gc,
                uint16_t(picture.width()), 1, 0, int16_t(y), 0, m_depth, uint32_t(row.size()),
                row.data());
        }
        xcb_free_gc(m_connection, gc);
        sync();
    }
    ~OwnTableWindow() { xcb_disconnect(m_connection); }
    bool ok() const { return m_window != 0; }

private:
    void sync()
    {
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }
    xcb_connection_t* m_connection = nullptr;
    uint32_t m_window = 0;
    std::optional<Picture> m_picture;
    uint8_t m_depth = 24;
};

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

BENCHMARK_MAIN();
