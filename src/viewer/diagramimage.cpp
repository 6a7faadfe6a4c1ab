#include "viewer/diagramimage.h"

#include "board/boarddiagram.h"
#include "board/othelloboard.h"
#include "board/squares.h"
#include "viewer/boardimage.h"
#include "viewer/sharedfonts.h"

#include <QPainter>

QImage diagramImage(const BoardDiagram& diagram)
{
    OthelloBoard board;
    board.load8x8Cells(diagram.cells);
    BoardImage picture;
    picture.paintDiscBoard(board);
    const bool marked = !diagram.showNumbers && diagram.lastMove >= 0 && diagram.lastMove < 64;
    if (marked)
        picture.markSquare(diagram.lastMove % 8, diagram.lastMove / 8);
    QImage image = picture.image();
    if (!diagram.showNumbers)
        return image;

    QPainter painter(&image);
    painter.setFont(SharedFonts::instance().number());
    for (int at = 0; at < 64; ++at) {
        const int cell = diagram.cells[at];
        if (diagram.numbers[at] == 0 || !board::isColour(cell))
            continue;
        // The disc's round shape covers columns 4..23 and rows 3..22 of its square.
        const QRect disc(
            BoardGeometry::squareLeft(at % 8) + 4, BoardGeometry::squareTop(at / 8) + 3, 20, 20);
        painter.setPen(cell == board::kBlack ? Qt::white : Qt::black);
        painter.drawText(disc, Qt::AlignCenter, QString::number(diagram.numbers[at]));
    }
    return image;
}
