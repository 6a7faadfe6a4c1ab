#include "app/programpicture.h"

#include <QFont>
#include <QPainter>

QPixmap programPicture()
{
    QPixmap picture(270, 74);
    picture.fill(Qt::white);
    QPainter g(&picture);
    g.setRenderHint(QPainter::Antialiasing);

    // A corner of a board with the four starting discs.
    const QRect board(6, 5, 64, 64);
    g.fillRect(board, QColor(0, 128, 0));
    g.setPen(QPen(Qt::black, 1));
    for (int i = 0; i <= 4; ++i) {
        g.drawLine(board.left() + 16 * i, board.top(), board.left() + 16 * i, board.bottom() + 1);
        g.drawLine(board.left(), board.top() + 16 * i, board.right() + 1, board.top() + 16 * i);
    }
    const QColor discs[4] = { Qt::white, Qt::black, Qt::black, Qt::white };
    for (int i = 0; i < 4; ++i) {
        const int column = 1 + i % 2;
        const int row = 1 + i / 2;
        g.setBrush(discs[i]);
        g.drawEllipse(QRectF(board.left() + 16 * column + 2, board.top() + 16 * row + 2, 12, 12));
    }

    QFont name(QStringLiteral("Serif"));
    name.setPixelSize(40);
    name.setBold(true);
    name.setItalic(true);
    g.setFont(name);
    g.setPen(QColor(0, 96, 0));
    g.drawText(QRect(78, 0, 192, 74), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Pavione"));
    return picture;
}
