#pragma once

#include "viewer/boardgeometry.h"

#include <QImage>
#include <QRect>

#include <array>
#include <cstdint>
#include <optional>

class MoveNumberGrid;
class OthelloBoard;
class QPainter;

// The off-screen picture of one window's board: 240 × 240 pixels, every drawing goes here and the
// window copies the picture to its client area at (3, 3). It holds either the disc board of an
// OthelloBoard (with the last-move mark) or the record editor's move-number sheet.
class BoardImage {
public:
    BoardImage();

    const QImage& image() const { return m_image; }
    // Where the picture stands in its window's client area.
    static QRect shownRect();
    // Copies the whole picture to the window's client area (inside its paint event).
    void show(QPainter& painter) const;

    // Redraws the whole disc board: background, labels, grid, star points and every square. No
    // mark.
    void paintDiscBoard(const OthelloBoard& board);
    // Draws the last-move mark in the middle of a square, over its disc.
    void markSquare(int column, int row);
    // Brings the disc board to board with the mark on mark (or none), redrawing only the squares
    // whose disc or mark changed since the last disc board drawn here; the whole board when the
    // picture does not hold one. The result is the same picture paintDiscBoard and markSquare
    // make. Returns the changed area in picture pixels (empty when nothing changed).
    QRect updateDiscBoard(const OthelloBoard& board, std::optional<BoardSquare> mark);

    // Redraws the whole move-number sheet with the cursor shown on one square.
    void paintSheet(const MoveNumberGrid& grid, int cursorColumn, int cursorRow);
    // Redraws the sheet's 64 squares only, after a number changed. The cursor must be drawn
    // again afterwards.
    void paintSheetSquares(const MoveNumberGrid& grid);
    // Draws the cursor outline on a square in red, or erases it (white) when shown is false.
    void drawCursor(int column, int row, bool shown);

private:
    void paintDiscSquare(QPainter& painter, int column, int row, int cell);
    void paintMark(QPainter& painter, int column, int row);
    void paintSheetSquare(QPainter& painter, const MoveNumberGrid& grid, int column, int row);

    QImage m_image;
    // What the disc board shows, for redrawing only what changed; cleared by the sheet.
    bool m_holdsDiscBoard = false;
    std::array<uint8_t, 64> m_shownCells {};
    std::optional<BoardSquare> m_shownMark;
};
