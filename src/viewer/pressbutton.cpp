#include "viewer/pressbutton.h"

#include <QMouseEvent>

PressButton::PressButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent)
{
    setAutoDefault(false);
}

void PressButton::mousePressEvent(QMouseEvent* event)
{
    QPushButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled())
        emit leftPressed();
}
