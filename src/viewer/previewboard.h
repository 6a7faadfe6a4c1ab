#pragma once

#include "board/othellogame.h"
#include "viewer/boardgeometry.h"
#include "viewer/boardimage.h"
#include "viewer/stepbuttons.h"

#include <QWidget>

#include <array>

class PictureButton;
class QLabel;

// A board to play an opening on: the 240 × 240 disc board at (3, 3) with the last move marked,
// and below it the four step buttons and the move counter. A click on a square plays it for the
// side to move; after each move or step the side to move is the candidate colour, or its opponent
// when the candidate has no legal move. It stands on its own, so a window can put other panels
// beside it; the window hears through searchWanted when the opening it shows has changed.
class PreviewBoard : public QWidget {
    Q_OBJECT
public:
    explicit PreviewBoard(QWidget* parent = nullptr);

    const OthelloGame& game() const { return m_game; }
    int sideToMove() const { return m_side; }
    const BoardImage& picture() const { return m_picture; }
    PictureButton* stepButton(StepButtons::Button which) const { return m_stepButtons[which]; }
    QLabel* moveCounter() const { return m_moveCounter; }

    // Plays the square for the side to move; false (and nothing changes) when it is illegal.
    bool play(BoardSquare square);
    void goToStart();
    // False when there was nothing to undo or redo.
    bool stepBack();
    bool stepForward();
    // Replays every move ahead of the cursor. Only shows the game's end: no searchWanted.
    void goToEnd();

signals:
    // After a move, 最初, and a 戻る or 進む that stepped.
    void searchWanted();
    // After every change of the board shown, 最後 included.
    void positionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Draws the board as the cursor has it, with the counter and the buttons' states.
    void refresh();
    // The side to move becomes candidate, or its opponent when candidate cannot move.
    void chooseSide(int candidate);
    // The colour that plays after the current entry: black when there is none.
    int colourAfterCurrent() const;

    OthelloGame m_game;
    BoardImage m_picture;
    int m_side = 0;
    std::array<PictureButton*, StepButtons::buttonCount> m_stepButtons {};
    QLabel* m_moveCounter = nullptr;
};
