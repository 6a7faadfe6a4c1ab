#pragma once

#include "viewer/boardimage.h"

#include <QWidget>

class PressButton;
class QLabel;
struct EditedGame;

// The editor's 盤面 page: the disc board of the game being edited with four text step buttons and
// a move counter. A click on a legal square plays it for the side to move and writes its number
// on the sheet, taking that number off any other square. 最初 and 最後 act on their click, 戻る
// and 進む on the mouse press, without repeat.
class BoardPage : public QWidget {
    Q_OBJECT
public:
    enum Button { First, Back, Forward, Last, buttonCount };

    BoardPage(EditedGame& edited, QWidget* parent = nullptr);

    PressButton* button(Button which) const { return m_buttons[which]; }
    QLabel* moveCounter() const { return m_moveCounter; }
    const BoardImage& picture() const { return m_picture; }

    void goToStart();
    void goToEnd();
    void stepBack();
    void stepForward();
    // Plays the square for the side to move; false when it is not a legal move.
    bool playAt(int column, int row);
    // Draws the board as the history cursor has it, with the counter and the buttons' states.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    EditedGame& m_edited;
    BoardImage m_picture;
    PressButton* m_buttons[buttonCount] {};
    QLabel* m_moveCounter = nullptr;
};
