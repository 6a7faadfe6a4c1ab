#include "capture/picture.h"

#include <algorithm>

Picture::Picture(int width, int height, Rgb background)
    : m_width(std::max(width, 0))
    , m_height(std::max(height, 0))
    , m_pixels(static_cast<size_t>(m_width) * static_cast<size_t>(m_height), background)
{ }

Rgb Picture::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return {};
    return m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
}

void Picture::set(int x, int y, Rgb colour)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)]
        = colour;
}

void Picture::fillRect(int x, int y, int width, int height, Rgb colour)
{
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + width, m_width);
    const int bottom = std::min(y + height, m_height);
    for (int row = top; row < bottom; ++row)
        for (int column = left; column < right; ++column)
            set(column, row, colour);
}

void Picture::fillCircle(int centreX, int centreY, int radius, Rgb colour)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (dx * dx + dy * dy <= radius * radius)
                set(centreX + dx, centreY + dy, colour);
}

bool Picture::read(int x, int y, int width, int height, std::span<Rgb> out)
{
    if (x < 0 || y < 0 || width < 0 || height < 0 || x > m_width - width || y > m_height - height
        || out.size() < static_cast<size_t>(width) * static_cast<size_t>(height))
        return false;
    for (int row = 0; row < height; ++row) {
        const auto first = m_pixels.begin() + static_cast<ptrdiff_t>(y + row) * m_width + x;
        std::copy(first, first + width, out.begin() + static_cast<ptrdiff_t>(row) * width);
    }
    return true;
}
