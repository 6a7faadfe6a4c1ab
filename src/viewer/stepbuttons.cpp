#include "viewer/stepbuttons.h"

#include "ui/dialogcontrols.h"
#include "viewer/picturebutton.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPolygon>

namespace {

const QColor face(192, 192, 192);
const QColor highlight(255, 255, 255);
const QColor shadow(128, 128, 128);

// A triangle 9 pixels high pointing left or right, its tip at x.
QPolygon triangle(int tipX, bool pointsRight)
{
    const int middle = StepButtons::height / 2;
    const int base = pointsRight ? tipX - 5 : tipX + 5;
    return QPolygon({ QPoint(tipX, middle), QPoint(base, middle - 5), QPoint(base, middle + 5) });
}

void drawSymbol(QPainter& painter, StepButtons::Button button, const QColor& colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const int middle = StepButtons::height / 2;
    const QRect bar(0, middle - 5, 2, 11);
    switch (button) {
    case StepButtons::Forward:
        painter.drawPolygon(triangle(21, true));
        break;
    case StepButtons::Back:
        painter.drawPolygon(triangle(15, false));
        break;
    case StepButtons::First:
        painter.fillRect(bar.translated(11, 0), colour);
        painter.drawPolygon(triangle(14, false));
        painter.drawPolygon(triangle(20, false));
        break;
    case StepButtons::Last:
        painter.drawPolygon(triangle(22, true));
        painter.drawPolygon(triangle(16, true));
        painter.fillRect(bar.translated(23, 0), colour);
        break;
    }
}

QImage stepImage(StepButtons::Button button, StepButtons::State state)
{
    QImage image(StepButtons::width, StepButtons::height, QImage::Format_RGB32);
    image.fill(face);
    QPainter painter(&image);
    const int w = StepButtons::width;
    const int h = StepButtons::height;
    if (state == StepButtons::Down) {
        painter.setPen(QColor(0, 0, 0));
        painter.drawRect(0, 0, w - 1, h - 1);
        painter.setPen(shadow);
        painter.drawLine(1, 1, w - 2, 1);
        painter.drawLine(1, 1, 1, h - 2);
    } else {
        painter.setPen(highlight);
        painter.drawLine(0, 0, w - 2, 0);
        painter.drawLine(0, 0, 0, h - 2);
        painter.setPen(QColor(0, 0, 0));
        painter.drawLine(0, h - 1, w - 1, h - 1);
        painter.drawLine(w - 1, 0, w - 1, h - 1);
        painter.setPen(shadow);
        painter.drawLine(1, h - 2, w - 2, h - 2);
        painter.drawLine(w - 2, 1, w - 2, h - 2);
    }
    if (state == StepButtons::Focus) {
        QPen dotted(QColor(0, 0, 0));
        dotted.setStyle(Qt::DotLine);
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(4, 3, w - 9, h - 7);
    }
    // The pressed face moves its symbol one pixel down and right, as a pressed button does.
    if (state == StepButtons::Down)
        painter.translate(1, 1);
    drawSymbol(painter, button, StepButtons::symbolColour(state));
    return image;
}

QImage arrow(bool down)
{
    constexpr int w = 52;
    constexpr int h = 10;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(face);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0));
    const int cx = w / 2;
    const QPolygon shape = down ? QPolygon({ QPoint(cx - 4, 3), QPoint(cx + 4, 3), QPoint(cx, 7) })
                                : QPolygon({ QPoint(cx - 4, 7), QPoint(cx + 4, 7), QPoint(cx, 3) });
    painter.drawPolygon(shape);
    return image;
}

} // namespace

QColor StepButtons::symbolColour(State state)
{
    switch (state) {
    case Down:
        return QColor(96, 160, 255);
    case Disabled:
        return QColor(128, 128, 128);
    case Up:
    case Focus:
        break;
    }
    return QColor(0, 0, 255);
}

StepButtons::StepButtons()
    : m_unfold(arrow(true))
    , m_fold(arrow(false))
{
    for (int b = 0; b < buttonCount; ++b) {
        for (int s = 0; s < stateCount; ++s)
            m_images[b][s] = stepImage(static_cast<Button>(b), static_cast<State>(s));
    }
}

const StepButtons& StepButtons::instance()
{
    static StepButtons* buttons = nullptr;
    if (!buttons) {
        buttons = new StepButtons;
        qAddPostRoutine([] {
            delete buttons;
            buttons = nullptr;
        });
    }
    return *buttons;
}

std::array<PictureButton*, StepButtons::buttonCount> addStepButtons(QWidget* parent)
{
    const StepButtons& pictures = StepButtons::instance();
    constexpr std::array<int, StepButtons::buttonCount> left { 2, 26, 50, 74 };
    std::array<PictureButton*, StepButtons::buttonCount> buttons {};
    for (int b = 0; b < StepButtons::buttonCount; ++b) {
        auto* button = new PictureButton(parent);
        for (int s = 0; s < StepButtons::stateCount; ++s) {
            const auto state = static_cast<StepButtons::State>(s);
            button->setImage(static_cast<PictureButton::State>(s),
                pictures.image(static_cast<StepButtons::Button>(b), state));
        }
        dialogcontrols::place(button, left[size_t(b)], 164, 21, 14);
        buttons[size_t(b)] = button;
    }
    return buttons;
}
