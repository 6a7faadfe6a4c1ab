#pragma once

#include "capture/pixelsource.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The desktop as the table scan sees it: the top-level windows of other programs, their titles,
// their pixels, and a mouse click into them. Window ids are the platform's; a window may vanish
// at any moment, and every call then fails quietly.
class TableDesktop {
public:
    virtual ~TableDesktop() = default;

    // The top-level windows, topmost first.
    virtual std::vector<uint32_t> topLevelWindows() = 0;
    // The title as CP932 bytes; empty when there is none or the window has gone.
    virtual std::string title(uint32_t window) = 0;
    // A reader of the window's client area, or null when its pixels cannot be had. It stays valid
    // for one pass of the scan.
    virtual std::unique_ptr<PixelSource> pixels(uint32_t window) = 0;
    // The size of the window; false when it has gone.
    virtual bool size(uint32_t window, int& width, int& height) = 0;
    // A left-button press and release at (x, y) in client coordinates, no keys held.
    virtual void click(uint32_t window, int x, int y) = 0;
};
