#include "ui/toolbarimages.h"

#include <QPainter>
#include <QPainterPath>

namespace toolbarimages {
namespace {

QPixmap empty()
{
    QPixmap p(width, height);
    p.fill(Qt::transparent);
    return p;
}

QPixmap floppy()
{
    QPixmap p = empty();
    QPainter g(&p);
    g.fillRect(QRect(1, 1, 14, 13), QColor(0, 0, 128));
    g.fillRect(QRect(4, 1, 8, 5), Qt::white); // label
    g.fillRect(QRect(4, 9, 8, 5), QColor(192, 192, 192)); // shutter
    g.fillRect(QRect(9, 10, 2, 3), QColor(0, 0, 128));
    g.setPen(Qt::black);
    g.drawRect(QRect(0, 0, 15, 14));
    return p;
}

QPixmap scissors()
{
    QPixmap p = empty();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(64, 64, 64), 1.2));
    g.drawLine(QPointF(4.5, 1), QPointF(10, 9.5));
    g.drawLine(QPointF(11.5, 1), QPointF(6, 9.5));
    g.setPen(QPen(QColor(0, 0, 128), 1.4));
    g.setBrush(Qt::NoBrush);
    g.drawEllipse(QRectF(2, 9, 4.5, 4.5));
    g.drawEllipse(QRectF(9.5, 9, 4.5, 4.5));
    return p;
}

void page(QPainter& g, const QRect& r)
{
    g.setPen(Qt::black);
    g.setBrush(Qt::white);
    g.drawRect(r);
    g.setPen(QColor(0, 0, 128));
    for (int y = r.top() + 2; y < r.bottom() - 1; y += 2)
        g.drawLine(r.left() + 2, y, r.right() - 2, y);
}

QPixmap pages()
{
    QPixmap p = empty();
    QPainter g(&p);
    page(g, QRect(0, 0, 8, 10));
    page(g, QRect(6, 4, 9, 10));
    return p;
}

QPixmap clipboard()
{
    QPixmap p = empty();
    QPainter g(&p);
    g.setPen(Qt::black);
    g.setBrush(QColor(128, 96, 32));
    g.drawRect(QRect(1, 1, 10, 13));
    g.setBrush(QColor(192, 192, 192));
    g.drawRect(QRect(4, 0, 4, 2));
    page(g, QRect(6, 5, 9, 9));
    return p;
}

QPixmap yahoo(bool crossed)
{
    QPixmap p = empty();
    QPainter g(&p);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(12);
    font.setBold(true);
    font.setItalic(true);
    g.setFont(font);
    g.setPen(crossed ? QColor(128, 0, 0) : QColor(255, 0, 0));
    g.drawText(QRect(0, 0, width, height), Qt::AlignCenter, QStringLiteral("Y!"));
    if (crossed) {
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(QPen(Qt::black, 1.6));
        g.drawLine(QPointF(1, 1), QPointF(15, 14));
        g.drawLine(QPointF(15, 1), QPointF(1, 14));
    }
    return p;
}

} // namespace

QPixmap image(int index)
{
    switch (index) {
    case 0:
        return floppy();
    case 1:
        return scissors();
    case 2:
        return pages();
    case 3:
        return clipboard();
    case 4:
        return yahoo(false);
    case 5:
        return yahoo(true);
    default:
        return empty();
    }
}

} // namespace toolbarimages
