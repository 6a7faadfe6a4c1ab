// The desktop reader on a real X display: table windows found by their titles, read whole while
// covered, and windows that go or shrink between two reads failing quietly.

#include "owntablewindow.h"

#include "capture/tablereader.h"
#include "platform/x11desktop.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool listed(X11Desktop& desktop, uint32_t id)
{
    const std::vector<uint32_t> windows = desktop.topLevelWindows();
    return std::find(windows.begin(), windows.end(), id) != windows.end();
}

TEST(X11Desktop, FindsAndReadsTableWindowsEvenWhenCovered)
{
    OwnTableWindow lower(0, "lower", 1);
    OwnTableWindow upper(1, "upper", 2); // mapped later, so on top, at the same place
    ASSERT_TRUE(lower.ok() && upper.ok()) << "run under xvfb-run -a";
    X11Desktop desktop;
    ASSERT_TRUE(desktop.connected());
    const std::vector<uint32_t> windows = desktop.topLevelWindows();
    const auto at = [&](uint32_t id) { return std::find(windows.begin(), windows.end(), id); };
    ASSERT_NE(at(lower.id()), windows.end());
    ASSERT_NE(at(upper.id()), windows.end());
    EXPECT_LT(at(upper.id()), at(lower.id())) << "topmost first";
    EXPECT_EQ(desktop.title(lower.id()), tabletitle::make("lower", 1, "host"));

    // The first reading moves the windows off-screen; what they show is then drawn again, as a
    // client does on the exposure that follows.
    desktop.pixels(lower.id());
    desktop.pixels(upper.id());
    lower.paint();
    upper.paint();
    for (const auto& [window, layout] : { std::pair { &lower, 0 }, std::pair { &upper, 1 } }) {
        SCOPED_TRACE(layout);
        const auto pixels = desktop.pixels(window->id());
        ASSERT_TRUE(pixels);
        TableSnapshot s;
        ASSERT_EQ(tablereader::readTable(*pixels, desktop.title(window->id()), s), 0);
        for (int i = 0; i < 64; ++i)
            EXPECT_EQ(s.cells[size_t(i)], i % 3) << i;
        // The last digit starts at column 76, where reading stops.
        EXPECT_EQ(s.blackName, "OthelloKING_197");
        int width = 0, height = 0;
        ASSERT_TRUE(desktop.size(window->id(), width, height));
        EXPECT_EQ(width, tablepicture::width(layout));
    }
}

TEST(X11Desktop, WindowsThatGoOrShrinkFailQuietly)
{
    OwnTableWindow window(0, "going", 3);
    ASSERT_TRUE(window.ok()) << "run under xvfb-run -a";
    X11Desktop desktop;
    ASSERT_TRUE(listed(desktop, window.id()));
    // A reader keeps the picture the window had when the pass began; the next pass sees the
    // change.
    window.resize(100, 100);
    auto pixels = desktop.pixels(window.id());
    ASSERT_TRUE(pixels);
    TableSnapshot s;
    EXPECT_EQ(tablereader::readTable(*pixels, desktop.title(window.id()), s), -1)
        << "the board lies outside the shrunk window";

    window.destroy();
    EXPECT_EQ(desktop.pixels(window.id()), nullptr);
    int width = 0, height = 0;
    EXPECT_FALSE(desktop.size(window.id(), width, height));
    desktop.click(window.id(), 5, 5);
    EXPECT_FALSE(listed(desktop, window.id()));
    EXPECT_EQ(desktop.title(window.id()), "");
}

TEST(X11Desktop, WithoutADisplayFindsNothing)
{
    X11Desktop desktop(":4711");
    EXPECT_FALSE(desktop.connected());
    EXPECT_TRUE(desktop.topLevelWindows().empty());
    EXPECT_EQ(desktop.pixels(1), nullptr);
    EXPECT_EQ(desktop.title(1), "");
}

} // namespace
