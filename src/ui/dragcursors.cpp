#include "ui/dragcursors.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace {

// A 32 x 32 arrow with its tip at (0, 0) and a small boxed plus sign below right of it, drawn in
// black on white so that it shows on every background.
QCursor copyCursor()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter g(&picture);
    const QPolygon arrow({ QPoint(0, 0), QPoint(0, 15), QPoint(4, 11), QPoint(7, 18), QPoint(9, 17),
        QPoint(6, 10), QPoint(11, 10) });
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(Qt::white);
    g.drawPolygon(arrow);
    const QRect box(12, 14, 10, 10);
    g.drawRect(box);
    g.fillRect(QRect(14, 18, 7, 2), Qt::black);
    g.fillRect(QRect(16, 16, 2, 7), Qt::black);
    g.end();
    return QCursor(picture, 0, 0);
}

} // namespace

DragCursors::DragCursors()
    : m_cursors { QCursor(Qt::ArrowCursor), copyCursor(), QCursor(Qt::ForbiddenCursor) }
{ }

const QCursor& DragCursors::cursor(int kind) const
{
    if (kind < 0 || kind > 2)
        return m_cursors[Move];
    return m_cursors[static_cast<size_t>(kind)];
}
