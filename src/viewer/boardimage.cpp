#include "viewer/boardimage.h"

#include "board/movenumbergrid.h"
#include "board/othelloboard.h"
#include "board/squares.h"
#include "viewer/discbitmaps.h"
#include "viewer/sharedbrushes.h"
#include "viewer/sharedfonts.h"
#include "viewer/sheetnumbercolour.h"

#include <QPainter>

namespace {

using G = BoardGeometry;

constexpr int side = G::pictureSide;
constexpr int boardEnd = G::playingEnd;
constexpr int discSide = DiscBitmaps::discSide;
// The four 3 × 3 star points on the corners shared by the second and third, and by the sixth and
// seventh, rows and columns.
constexpr std::array<int, 2> starPoints { 64, 172 };
// A square's interior that an empty square wipes, and the sheet's square fill: offsets 1..24.
constexpr int interiorOffset = 1;
constexpr int interiorSide = 24;

const QBrush& brush(SharedColour colour)
{
    return SharedBrushes::instance().brush(colour);
}

QColor colourOf(SharedColour colour)
{
    return SharedBrushes::instance().colour(colour);
}

// Labels a..h above the columns and 1..8 left of the rows. Every label is centred horizontally
// in its strip and starts at the strip's top, 6 pixels above the row's centre line for the
// numbers.
void drawLabels(QPainter& painter, const QColor& textColour)
{
    painter.save();
    painter.setFont(SharedFonts::instance().label());
    painter.setPen(textColour);
    painter.setBackgroundMode(Qt::TransparentMode);
    for (int i = 0; i < G::boardSide; ++i) {
        const QRect column(G::squareLeft(i), 0, G::square, G::originY);
        painter.drawText(column, Qt::AlignHCenter | Qt::AlignTop, QString(QChar(u'a' + i)));
        const QRect row(0, G::squareTop(i) + 7, G::originX, G::square);
        painter.drawText(row, Qt::AlignHCenter | Qt::AlignTop, QString::number(i + 1));
    }
    painter.restore();
}

QRect squareRect(int column, int row)
{
    return { G::squareLeft(column), G::squareTop(row), G::square, G::square };
}

QRect interiorOf(int column, int row)
{
    return { G::squareLeft(column) + interiorOffset, G::squareTop(row) + interiorOffset,
        interiorSide, interiorSide };
}

} // namespace

BoardImage::BoardImage()
    : m_image(side, side, QImage::Format_RGB32)
{
    m_image.fill(Qt::black);
}

QRect BoardImage::shownRect()
{
    return { G::shownAtX, G::shownAtY, side, side };
}

void BoardImage::show(QPainter& painter) const
{
    painter.drawImage(G::shownAtX, G::shownAtY, m_image);
}

void BoardImage::paintDiscBoard(const OthelloBoard& board)
{
    QPainter painter(&m_image);
    painter.fillRect(0, 0, side, side, brush(SharedColour::BoardBlack));
    painter.fillRect(G::originX, G::originY, boardEnd - G::originX, boardEnd - G::originY,
        brush(SharedColour::BoardGreen));
    // The label strips are board black already.
    drawLabels(painter, QColor(255, 255, 255));

    // Each square has a light top and left edge and a dark bottom and right edge; the dark lines
    // go last, so they win where the two cross.
    const int span = boardEnd - G::originY;
    for (int i = 0; i < G::boardSide; ++i) {
        const int at = G::originX + G::square * i;
        painter.fillRect(at, G::originY, 1, span, brush(SharedColour::LightGreen));
        painter.fillRect(G::originX, at, span, 1, brush(SharedColour::LightGreen));
    }
    for (int i = 0; i < G::boardSide; ++i) {
        const int at = G::originX + G::square - 1 + G::square * i;
        painter.fillRect(at, G::originY, 1, span, brush(SharedColour::DarkGreen));
        painter.fillRect(G::originX, at, span, 1, brush(SharedColour::DarkGreen));
    }
    for (int x : starPoints) {
        for (int y : starPoints)
            painter.fillRect(x, y, 3, 3, brush(SharedColour::DarkGreen));
    }

    for (int row = 0; row < board.size() && row < G::boardSide; ++row) {
        for (int column = 0; column < board.size() && column < G::boardSide; ++column) {
            const int cell = board.cell(board::squareAt(row, column));
            paintDiscSquare(painter, column, row, cell);
            m_shownCells[row * 8 + column] = static_cast<uint8_t>(cell);
        }
    }
    m_holdsDiscBoard = board.size() == G::boardSide;
    m_shownMark.reset();
}

void BoardImage::paintDiscSquare(QPainter& painter, int column, int row, int cell)
{
    if (cell == board::kBlocked)
        return; // keeps the background and grid: it looks like an empty square
    const DiscBitmaps& bitmaps = DiscBitmaps::instance();
    const QPoint at(G::squareLeft(column), G::squareTop(row));
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(at, bitmaps.discMask());
    if (cell == board::kBlack || cell == board::kWhite) {
        painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        painter.drawImage(at, cell == board::kBlack ? bitmaps.blackDisc() : bitmaps.whiteDisc());
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        return;
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // The mask's black shape lies wholly inside the interior, so this wipes it again.
    painter.fillRect(interiorOf(column, row), brush(SharedColour::BoardGreen));
}

void BoardImage::markSquare(int column, int row)
{
    QPainter painter(&m_image);
    paintMark(painter, column, row);
    m_shownMark = BoardSquare { column, row };
}

void BoardImage::paintMark(QPainter& painter, int column, int row)
{
    const DiscBitmaps& bitmaps = DiscBitmaps::instance();
    const int inset = (discSide - DiscBitmaps::markSide) / 2;
    const QPoint at(G::squareLeft(column) + inset, G::squareTop(row) + inset);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(at, bitmaps.markMask());
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(at, bitmaps.mark());
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QRect BoardImage::updateDiscBoard(const OthelloBoard& board, std::optional<BoardSquare> mark)
{
    if (!m_holdsDiscBoard || board.size() != G::boardSide) {
        paintDiscBoard(board);
        if (mark)
            markSquare(mark->column, mark->row);
        return { 0, 0, side, side };
    }
    QRect changed;
    QPainter painter(&m_image);
    for (int row = 0; row < G::boardSide; ++row) {
        for (int column = 0; column < G::boardSide; ++column) {
            const int cell = board.cell(board::squareAt(row, column));
            const BoardSquare here { column, row };
            const bool markChanges = (m_shownMark == here) != (mark == here);
            if (cell == m_shownCells[row * 8 + column] && !markChanges)
                continue;
            // Everything a square's disc or mark touches lies inside its interior, which the
            // background left plain green; the grid and the star points stay as they are.
            painter.fillRect(interiorOf(column, row), brush(SharedColour::BoardGreen));
            paintDiscSquare(painter, column, row, cell);
            m_shownCells[row * 8 + column] = static_cast<uint8_t>(cell);
            if (mark == here)
                paintMark(painter, column, row);
            changed |= squareRect(column, row);
        }
    }
    m_shownMark = mark;
    return changed;
}

void BoardImage::paintSheet(const MoveNumberGrid& grid, int cursorColumn, int cursorRow)
{
    m_holdsDiscBoard = false;
    {
        QPainter painter(&m_image);
        painter.fillRect(0, 0, side, side, brush(SharedColour::Grey));
        painter.fillRect(G::originX, G::originY, boardEnd - G::originX, boardEnd - G::originY,
            brush(SharedColour::White));
        drawLabels(painter, QColor(0, 0, 0));
        // The lines lie on the last pixel row and column before each square, so every square's
        // interior stays white.
        const int span = boardEnd - G::originY;
        for (int i = 0; i <= G::boardSide; ++i) {
            const int at = G::originX - 1 + G::square * i;
            painter.fillRect(at, G::originY, 1, span, brush(SharedColour::Black));
            painter.fillRect(G::originX, at, span, 1, brush(SharedColour::Black));
        }
        for (int x : starPoints) {
            for (int y : starPoints)
                painter.fillRect(x, y, 3, 3, brush(SharedColour::Black));
        }
    }
    paintSheetSquares(grid);
    drawCursor(cursorColumn, cursorRow, true);
}

void BoardImage::paintSheetSquares(const MoveNumberGrid& grid)
{
    m_holdsDiscBoard = false;
    QPainter painter(&m_image);
    painter.setFont(SharedFonts::instance().number());
    painter.setBackgroundMode(Qt::TransparentMode);
    for (int row = 0; row < G::boardSide; ++row) {
        for (int column = 0; column < G::boardSide; ++column)
            paintSheetSquare(painter, grid, column, row);
    }
}

void BoardImage::paintSheetSquare(
    QPainter& painter, const MoveNumberGrid& grid, int column, int row)
{
    const QRect interior = interiorOf(column, row);
    painter.fillRect(interior, brush(SharedColour::White));
    const int n = grid.at(row, column);
    if (n == 0)
        return;
    if (n > 99) {
        // The starting discs: black for the odd value, white for the even one.
        painter.setPen(QPen(QColor(0, 0, 0), 0));
        painter.setBrush(brush(n % 2 == 1 ? SharedColour::Black : SharedColour::White));
        const int x = G::squareLeft(column);
        const int y = G::squareTop(row);
        painter.drawEllipse(QRect(x + 3, y + 3, 18, 18));
        painter.setBrush(Qt::NoBrush);
        return;
    }
    painter.setPen(colourOf(sheetNumberColour(grid, n)));
    painter.drawText(interior, Qt::AlignCenter, QString::number(n));
}

void BoardImage::drawCursor(int column, int row, bool shown)
{
    if (column < 0 || column >= G::boardSide || row < 0 || row >= G::boardSide)
        return;
    QPainter painter(&m_image);
    const QColor colour = shown ? QColor(255, 0, 0) : colourOf(SharedColour::White);
    const QRect r = interiorOf(column, row);
    painter.fillRect(r.left(), r.top(), r.width(), 1, colour);
    painter.fillRect(r.left(), r.bottom(), r.width(), 1, colour);
    painter.fillRect(r.left(), r.top(), 1, r.height(), colour);
    painter.fillRect(r.right(), r.top(), 1, r.height(), colour);
}
