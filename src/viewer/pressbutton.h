#pragma once

#include <QPushButton>

// A text push button that also reports left mouse presses (single or double clicks) as they
// happen, after it has gone down, for buttons that act on the press rather than on the click.
class PressButton : public QPushButton {
    Q_OBJECT
public:
    PressButton(const QString& text, QWidget* parent);

signals:
    void leftPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
