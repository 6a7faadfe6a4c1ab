#pragma once

#include "capture/pixelsource.h"

#include <vector>

// A picture held in memory: what the table simulator draws and what the tests read. Drawing
// outside the picture is clipped; reading outside it fails, as for a window that is too small.
class Picture : public PixelSource {
public:
    Picture(int width, int height, Rgb background = {});

    int width() const { return m_width; }
    int height() const { return m_height; }
    const std::vector<Rgb>& pixels() const { return m_pixels; }

    Rgb at(int x, int y) const;
    void set(int x, int y, Rgb colour);
    void fillRect(int x, int y, int width, int height, Rgb colour);
    // A disc: every pixel whose centre lies within radius of (centreX, centreY).
    void fillCircle(int centreX, int centreY, int radius, Rgb colour);

    bool read(int x, int y, int width, int height, std::span<Rgb> out) override;

private:
    int m_width;
    int m_height;
    std::vector<Rgb> m_pixels;
};
