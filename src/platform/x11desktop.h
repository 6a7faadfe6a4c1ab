#pragma once

#include "capture/tabledesktop.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

struct xcb_connection_t;

// The X11 desktop as the table scan reads it, through its own connection to the display named by
// DISPLAY (whatever the toolkit itself runs on). Windows are the managed clients of
// _NET_CLIENT_LIST_STACKING when a window manager publishes it, otherwise the root's viewable
// children and, below an untitled one (a frame), its viewable children. Pixels are read a rectangle
// per request from the window's off-screen image, which the Composite extension keeps whole while
// other windows cover it; clicks are sent to the window as synthetic button events.
class X11Desktop : public TableDesktop {
public:
    // Connects to the display (DISPLAY when none is named). Without one every call finds
    // nothing, and each listing of the windows tries to connect again.
    explicit X11Desktop(const char* display = nullptr);
    ~X11Desktop() override;
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    bool connected() const { return m_connection != nullptr; }

    std::vector<uint32_t> topLevelWindows() override;
    std::string title(uint32_t window) override;
    std::unique_ptr<PixelSource> pixels(uint32_t window) override;
    bool size(uint32_t window, int& width, int& height) override;
    void click(uint32_t window, int x, int y) override;

private:
    bool connect();
    uint32_t atom(const char* name);
    std::vector<uint32_t> viewableWithTitles(const std::vector<uint32_t>& candidates, bool descend);
    std::string readTitle(uint32_t window);

    std::string m_display;
    xcb_connection_t* m_connection = nullptr;
    uint32_t m_root = 0;
    std::map<std::string, uint32_t> m_atoms;
    // Titles read by the last listing, so that a pass asks for them once, all together.
    std::map<uint32_t, std::string> m_titles;
    // Windows already redirected off-screen; forgotten ones are redirected again harmlessly.
    std::set<uint32_t> m_redirected;
    bool m_composite = false;
};
