#include "ui/libraryimagelist.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace {

constexpr int S = LibraryImageList::size;

QPixmap blank()
{
    QPixmap p(S, S);
    p.fill(Qt::transparent);
    return p;
}

QPixmap fromStyle(const QStyle& style, QStyle::StandardPixmap which)
{
    QPixmap p = style.standardIcon(which).pixmap(S, S);
    if (p.isNull())
        return blank();
    if (p.size() != QSize(S, S))
        p = p.scaled(S, S, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // Hi-dpi styles may hand out a larger device pixmap: keep the list's pictures 16 x 16 pixels.
    p.setDevicePixelRatio(1.0);
    return p;
}

// The sharing hand, drawn over the lower left corner of a folder.
QPixmap withHand(const QPixmap& folder)
{
    QPixmap p = folder;
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    // Sleeve.
    g.setPen(QPen(QColor(0, 0, 128), 1));
    g.setBrush(QColor(0, 0, 160));
    g.drawRect(QRectF(0.5, 12.5, 3, 3));
    // Open palm with the fingers pointing right.
    QPainterPath palm;
    palm.moveTo(3.5, 11.5);
    palm.lineTo(9.5, 11.5);
    palm.lineTo(10.5, 12.5);
    palm.lineTo(9.5, 13.5);
    palm.lineTo(7.5, 13.5);
    palm.lineTo(8.5, 15.5);
    palm.lineTo(3.5, 15.5);
    palm.closeSubpath();
    g.setPen(QPen(QColor(96, 48, 0), 1));
    g.setBrush(QColor(255, 208, 160));
    g.drawPath(palm);
    return p;
}

QPixmap disc(const QColor& fill)
{
    QPixmap p = blank();
    QPainter g(&p);
    g.fillRect(QRect(1, 1, 14, 14), QColor(0, 128, 0));
    g.setPen(QColor(0, 64, 0));
    g.drawRect(QRect(1, 1, 13, 13));
    if (fill.isValid()) {
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(QPen(Qt::black, 1));
        g.setBrush(fill);
        g.drawEllipse(QRectF(3.5, 3.5, 9, 9));
    }
    return p;
}

QPixmap letters(const QString& text, const QColor& colour, bool bold)
{
    QPixmap p = blank();
    QPainter g(&p);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(13);
    font.setBold(bold);
    font.setItalic(true);
    g.setFont(font);
    g.setPen(colour);
    g.drawText(QRect(0, 0, S, S), Qt::AlignCenter, text);
    return p;
}

// One computer of another user: a small monitor on its stand.
QPixmap computer()
{
    QPixmap p = blank();
    QPainter g(&p);
    g.setPen(QColor(64, 64, 64));
    g.setBrush(QColor(192, 192, 192));
    g.drawRect(QRect(1, 1, 13, 10));
    g.fillRect(QRect(3, 3, 10, 7), QColor(0, 128, 128));
    g.fillRect(QRect(6, 12, 4, 1), QColor(64, 64, 64));
    g.drawRect(QRect(3, 13, 9, 2));
    return p;
}

QPixmap smile()
{
    QPixmap p = blank();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(QColor(255, 224, 0));
    g.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    g.setBrush(Qt::black);
    g.drawEllipse(QRectF(5, 5, 1.5, 2));
    g.drawEllipse(QRectF(9.5, 5, 1.5, 2));
    g.setBrush(Qt::NoBrush);
    g.drawArc(QRectF(4.5, 5.5, 7, 6), 200 * 16, 140 * 16);
    return p;
}

} // namespace

LibraryImageList::LibraryImageList(const QStyle& style)
{
    m_images[ClosedFolder] = fromStyle(style, QStyle::SP_DirClosedIcon);
    m_images[OpenFolder] = fromStyle(style, QStyle::SP_DirOpenIcon);
    m_images[SharedClosedFolder] = withHand(m_images[ClosedFolder]);
    m_images[SharedOpenFolder] = withHand(m_images[OpenFolder]);
    m_images[MyRecords] = fromStyle(style, QStyle::SP_ComputerIcon);
    m_images[NetworkRoot] = fromStyle(style, QStyle::SP_DriveNetIcon);
    m_images[Trash] = fromStyle(style, QStyle::SP_TrashIcon);
    m_images[Computer] = computer();
    m_images[BlackWon] = disc(Qt::black);
    m_images[WhiteWon] = disc(Qt::white);
    m_images[NoWinner] = disc(QColor());
    m_images[Yahoo] = letters(QStringLiteral("Y!"), QColor(255, 0, 0), true);
    m_images[Smile] = smile();
    m_images[RedY] = letters(QStringLiteral("Y"), QColor(255, 0, 0), true);
    m_images[Blank14] = blank();
    m_images[Blank15] = blank();
}

QPixmap LibraryImageList::pixmap(int index) const
{
    if (index < 0 || index >= count)
        return blank();
    return m_images[static_cast<size_t>(index)];
}
