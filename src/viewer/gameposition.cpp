#include "viewer/gameposition.h"

#include "board/othellogame.h"
#include "board/squares.h"
#include "text/texts.h"
#include "viewer/boardgeometry.h"
#include "viewer/boardimage.h"
#include "viewer/picturebutton.h"

#include <QLabel>

#include <optional>

void showGamePosition(QWidget& window, BoardImage& picture, const OthelloGame& game,
    QLabel& moveCounter, const std::array<PictureButton*, StepButtons::buttonCount>& stepButtons)
{
    std::optional<BoardSquare> mark;
    if (const MoveEntry* entry = game.current())
        mark = BoardSquare { board::columnOf(entry->square), board::rowOf(entry->square) };
    const QRect changed = picture.updateDiscBoard(game, mark);
    if (!changed.isEmpty())
        window.update(changed.translated(BoardGeometry::shownAtX, BoardGeometry::shownAtY));

    moveCounter.setText(QString::asprintf(texts::viewerMoveCounter.utf8().data(), game.cursor()));
    const bool ahead = game.cursor() < game.length();
    const bool behind = game.cursor() > 0;
    stepButtons[StepButtons::Forward]->setEnabled(ahead);
    stepButtons[StepButtons::Last]->setEnabled(ahead);
    stepButtons[StepButtons::Back]->setEnabled(behind);
    stepButtons[StepButtons::First]->setEnabled(behind);
}
