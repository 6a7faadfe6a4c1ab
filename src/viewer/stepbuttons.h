#pragma once

#include <QColor>
#include <QImage>

#include <array>

class PictureButton;
class QWidget;

// The pictures of the four step buttons (最初, 戻る, 進む, 最後) in their four states, and the two
// small arrows that fold and unfold the viewer's comment, drawn once on first use. Each step
// picture is 37 × 21 pixels: a grey face with the symbol blue when up, lighter blue inside a
// black frame when down, a dotted frame around the symbol when focused, and a grey symbol when
// disabled.
class StepButtons {
public:
    enum Button { First, Back, Forward, Last };
    enum State { Up, Down, Focus, Disabled };
    static constexpr int buttonCount = 4;
    static constexpr int stateCount = 4;
    static constexpr int width = 37;
    static constexpr int height = 21;

    static const StepButtons& instance();

    const QImage& image(Button button, State state) const { return m_images[button][state]; }
    // A small arrow pointing down (unfold) or up (fold), the same in every state.
    const QImage& unfoldArrow() const { return m_unfold; }
    const QImage& foldArrow() const { return m_fold; }

    // The symbol's colours.
    static QColor symbolColour(State state);

    StepButtons();

private:
    std::array<std::array<QImage, stateCount>, buttonCount> m_images;
    QImage m_unfold;
    QImage m_fold;
};

// The four step buttons in a row at the foot of a board of the viewer's size, as the viewer and
// the search window's preview board both place them.
std::array<PictureButton*, StepButtons::buttonCount> addStepButtons(QWidget* parent);
