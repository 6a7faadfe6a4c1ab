#pragma once

#include <QAbstractButton>
#include <QImage>

#include <array>

// A button that shows a picture per state (up, down, focused, disabled), centred in its
// rectangle. It tells its window of mouse presses and releases only after it has handled them
// itself, so a click it reports on a release comes before the window hears of that release.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    enum State { Up, Down, Focus, Disabled };

    explicit PictureButton(QWidget* parent = nullptr);

    void setImage(State state, const QImage& image);
    // The same picture in every state.
    void setImages(const QImage& image);
    State shownState() const;

signals:
    // A left press (single or double click), after the button went down.
    void leftPressed();
    // A left release, after the button sent its click.
    void leftReleased();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::array<QImage, 4> m_images;
};
