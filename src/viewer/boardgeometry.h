#pragma once

#include <optional>

// One square of the 8 × 8 board by column and row, 0..7 from the top left (A1).
struct BoardSquare {
    int column = 0;
    int row = 0;
    bool operator==(const BoardSquare&) const = default;
};

// The fixed layout of every board picture: a 240 × 240 picture with 27-pixel squares from
// (12, 12), shown in its window with its top-left corner at client point (3, 3). Nothing scales.
struct BoardGeometry {
    static constexpr int originX = 12;
    static constexpr int originY = 12;
    static constexpr int pictureSide = 240;
    static constexpr int square = 27;
    static constexpr int boardSide = 8;
    // Where the picture's pixel (0, 0) appears in the window's client area.
    static constexpr int shownAtX = 3;
    static constexpr int shownAtY = 3;
    // The playing area ends at 12 + 8 × 27 = 228 (excluded).
    static constexpr int playingEnd = originX + boardSide * square;

    static constexpr int squareLeft(int column) { return originX + square * column; }
    static constexpr int squareTop(int row) { return originY + square * row; }

    // The square under a point of the window's client area, or none. The clicks are taken 3
    // pixels up and left of the drawn squares, so the margin strips just left of and above the
    // board still hit column 0 and row 0.
    static std::optional<BoardSquare> hitTest(int x, int y);
};
