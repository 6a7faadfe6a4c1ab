#pragma once

#include <cstdint>
#include <span>

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The pixels of one window's client area, x to the right and y downwards. The readers ask for a
// whole rectangle at a time (a row of cells, a name box), so that a source over another process's
// window needs one request per rectangle rather than one per pixel.
class PixelSource {
public:
    virtual ~PixelSource() = default;

    // Reads the width × height pixels whose top left is (x, y), row by row, into out, which holds
    // at least width × height entries. False when they cannot all be read (the window has gone or
    // shrunk, or the rectangle reaches outside it); out is then unspecified.
    virtual bool read(int x, int y, int width, int height, std::span<Rgb> out) = 0;

    // One pixel; false as read is.
    bool pixel(int x, int y, Rgb& out) { return read(x, y, 1, 1, { &out, 1 }); }
};
