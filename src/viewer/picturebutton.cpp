#include "viewer/picturebutton.h"

#include <QMouseEvent>
#include <QPainter>

PictureButton::PictureButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::setImage(State state, const QImage& image)
{
    m_images[state] = image;
    update();
}

void PictureButton::setImages(const QImage& image)
{
    m_images.fill(image);
    update();
}

PictureButton::State PictureButton::shownState() const
{
    if (!isEnabled())
        return Disabled;
    if (isDown())
        return Down;
    if (hasFocus())
        return Focus;
    return Up;
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage& image = m_images[shownState()];
    painter.fillRect(rect(), palette().button());
    const QRect target = rect();
    const QPoint at(target.left() + (target.width() - image.width()) / 2,
        target.top() + (target.height() - image.height()) / 2);
    painter.drawImage(at, image);
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    QAbstractButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit leftPressed();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    QAbstractButton::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit leftReleased();
}
