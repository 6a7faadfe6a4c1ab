#include "capture/tabledesktop.h"
#include "capture/tablepicture.h"
#include "capture/tablescan.h"
#include "capture/tabletitle.h"
#include "net/noticelistener.h"
#include "picturedesktop.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace {

using FakeDesktop = PictureDesktop;

// Records the notices in order and claims the snapshots of the tables it has windows for.
class RecordingSink : public TableScanSink, public NoticeListener {
public:
    std::vector<std::string> log;
    std::vector<std::pair<std::string, int>> open;

    int32_t notify(const Notice& notice) override { return countHandler(*this, notice, 0); }
    int32_t onWindow(const WindowNotice& n, int32_t) override
    {
        if (n.kind == WindowCaptureAlive) {
            log.push_back("seen " + std::string(n.text.view()) + " " + std::to_string(n.extra));
            return noticeHandled;
        }
        if (n.kind == WindowCaptureScanEnd) {
            log.push_back("end");
            return noticeHandled;
        }
        if (n.kind == WindowCaptureTable) {
            log.push_back("table " + n.snapshot->room + " " + n.snapshot->blackName);
            for (const auto& [room, table] : open)
                if (room == n.snapshot->room && table == n.snapshot->table)
                    return noticeHandled;
        }
        return noticeIgnored;
    }
    void openCaptureWindow(const TableSnapshot& s) override
    {
        log.push_back("open " + s.room + " " + std::to_string(s.table));
        open.push_back({ s.room, s.table });
    }
};

Picture tablePicture(int layout, bool report = false)
{
    TableScene scene;
    scene.layout = layout;
    scene.cells[27] = scene.cells[36] = 2;
    scene.cells[28] = scene.cells[35] = 1;
    scene.upperName = "alice";
    scene.lowerName = "bob";
    scene.report = report;
    return tablepicture::draw(scene);
}

TEST(TableScan, AnnouncesReadsAndOpensWindowsOncePerTable)
{
    FakeDesktop desktop;
    desktop.windows[1] = { tabletitle::make("east", 1, "h"), tablePicture(0) };
    desktop.windows[2] = { "some editor", tablePicture(0) };
    desktop.windows[3] = { tabletitle::make("west", 2, "h"), tablePicture(1) };
    RecordingSink sink;
    EXPECT_EQ(tableScan(desktop, sink), 2);
    EXPECT_EQ(sink.log,
        (std::vector<std::string> { "seen east 1", "table east alice", "open east 1", "seen west 2",
            "table west alice", "open west 2", "end" }));
    sink.log.clear();
    EXPECT_EQ(tableScan(desktop, sink), 2);
    EXPECT_EQ(sink.open.size(), 2u) << "claimed tables get no second window";
    // A table whose title changes to another number is another table.
    desktop.windows[3].title = tabletitle::make("west", 9, "h");
    tableScan(desktop, sink);
    EXPECT_EQ(sink.open.back(), (std::pair<std::string, int> { "west", 9 }));
    EXPECT_TRUE(desktop.clicks.empty());
}

TEST(TableScan, ClicksTheResultReportEveryPassWhileItShows)
{
    FakeDesktop desktop;
    desktop.windows[5] = { tabletitle::make("r", 1, "h"), tablePicture(0, true) };
    RecordingSink sink;
    EXPECT_EQ(tableScan(desktop, sink), 0) << "the report hides the middle of the board";
    tableScan(desktop, sink);
    ASSERT_EQ(desktop.clicks.size(), 2u);
    EXPECT_EQ(desktop.clicks[0].second, (std::pair { 680 / 2, 470 / 2 + 4 }));
    desktop.windows[5].picture = tablePicture(1, true);
    tableScan(desktop, sink);
    EXPECT_EQ(desktop.clicks.back().second, (std::pair { 560 / 2, 340 / 2 + 4 }));
    desktop.windows[5].picture = tablePicture(1, false);
    tableScan(desktop, sink);
    EXPECT_EQ(desktop.clicks.size(), 3u);
}

TEST(TableScan, SkipsWhatCannotBeReadAndGoesOn)
{
    FakeDesktop desktop;
    desktop.windows[1] = { tabletitle::make("gone", 1, "h"), tablePicture(0) };
    desktop.vanishOnPixels = 1;
    desktop.windows[2] = { tabletitle::make("blank", 2, "h"), Picture(680, 470, { 1, 2, 3 }) };
    desktop.windows[3] = { tabletitle::make("tiny", 3, "h"), Picture(3, 3) };
    desktop.windows[4] = { tabletitle::make("nopixels", 4, "h"), std::nullopt };
    // Only the prefix: an empty room and table 0, still read as a table.
    desktop.windows[6] = { cp932::fromUtf8("ゲーム：Othello"), tablePicture(1) };
    desktop.windows[7] = { tabletitle::make("ok", 7, "h"), tablePicture(0) };
    RecordingSink sink;
    EXPECT_EQ(tableScan(desktop, sink), 2);
    EXPECT_EQ(sink.open, (std::vector<std::pair<std::string, int>> { { "", 0 }, { "ok", 7 } }));
    EXPECT_EQ(sink.log.front(), "seen gone 1");
    EXPECT_EQ(sink.log.back(), "end");
}

} // namespace
