#pragma once

#include <QImage>

// The five pictures that board squares are composed from, drawn once on first use and kept until
// the application object goes. A disc goes onto a square by AND with the disc mask, then OR with
// the disc; the last-move mark likewise with its own mask. The discs and the mark are black
// outside their shapes and the masks white, so the composition leaves the rest of the square as
// it was.
class DiscBitmaps {
public:
    static constexpr int discSide = 27;
    static constexpr int markSide = 11;

    static const DiscBitmaps& instance();

    // A shaded dark grey disc (RGB 52, 52, 52 at its centre) with a thin green fringe, on black.
    const QImage& blackDisc() const { return m_blackDisc; }
    // A shaded light grey disc (RGB 204, 204, 204 at its centre) with a thin green fringe.
    const QImage& whiteDisc() const { return m_whiteDisc; }
    // Black on the disc's round shape, 20 pixels across (columns 4..23, rows 3..22), white around.
    const QImage& discMask() const { return m_discMask; }
    // A red cross one pixel wide through the middle row and column, on black.
    const QImage& mark() const { return m_mark; }
    // The same cross in black on white.
    const QImage& markMask() const { return m_markMask; }

    // Whether the pixel (x, y) of a 27 × 27 square lies on the disc's shape.
    static bool onDisc(int x, int y);

    DiscBitmaps();

private:
    QImage m_blackDisc;
    QImage m_whiteDisc;
    QImage m_discMask;
    QImage m_mark;
    QImage m_markMask;
};
