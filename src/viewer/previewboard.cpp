#include "viewer/previewboard.h"

#include "board/squares.h"
#include "text/texts.h"
#include "ui/dialogcontrols.h"
#include "ui/dialogunits.h"
#include "viewer/gameposition.h"
#include "viewer/picturebutton.h"
#include "viewer/sharedbrushes.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

using dialogcontrols::place;

namespace {

// The widget's own size in dialog units: the board, then the row of step buttons.
constexpr int designWidth = 141;
constexpr int designHeight = 180;

} // namespace

PreviewBoard::PreviewBoard(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PreviewBoard"));
    resize(dialogunits::toPixels(QSize(designWidth, designHeight)));
    setMinimumSize(size());

    m_stepButtons = addStepButtons(this);
    m_moveCounter = new QLabel(this);
    m_moveCounter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(m_moveCounter, 112, 165, 22, 12);
    // The counter stands on white, whatever the system's colours.
    QPalette counterColours = m_moveCounter->palette();
    counterColours.setBrush(QPalette::Window, SharedBrushes::instance().brush(SharedColour::White));
    m_moveCounter->setPalette(counterColours);
    m_moveCounter->setAutoFillBackground(true);

    connect(m_stepButtons[StepButtons::First], &QAbstractButton::clicked, this,
        &PreviewBoard::goToStart);
    connect(
        m_stepButtons[StepButtons::Back], &QAbstractButton::clicked, this, &PreviewBoard::stepBack);
    connect(m_stepButtons[StepButtons::Forward], &QAbstractButton::clicked, this,
        &PreviewBoard::stepForward);
    connect(
        m_stepButtons[StepButtons::Last], &QAbstractButton::clicked, this, &PreviewBoard::goToEnd);

    m_game.reset();
    m_game.selectVariant(OthelloBoard::kVariantStandard);
    m_side = board::kBlack;
    refresh();
}

bool PreviewBoard::play(BoardSquare square)
{
    const MoveEntry* entry
        = m_game.playAndRecord(board::squareAt(square.row, square.column), m_side);
    if (!entry)
        return false;
    // The mover plays again when the opponent must pass.
    chooseSide(board::opponent(entry->colour));
    refresh();
    emit searchWanted();
    return true;
}

void PreviewBoard::goToStart()
{
    while (m_game.undo()) { }
    refresh();
    chooseSide(board::kBlack);
    emit searchWanted();
}

bool PreviewBoard::stepBack()
{
    if (!m_game.undo())
        return false;
    refresh();
    chooseSide(colourAfterCurrent());
    emit searchWanted();
    return true;
}

bool PreviewBoard::stepForward()
{
    const MoveEntry* redone = m_game.redo();
    if (!redone)
        return false;
    refresh();
    chooseSide(board::opponent(redone->colour));
    emit searchWanted();
    return true;
}

void PreviewBoard::goToEnd()
{
    while (m_game.redo()) { }
    refresh();
    chooseSide(colourAfterCurrent());
}

int PreviewBoard::colourAfterCurrent() const
{
    const MoveEntry* current = m_game.current();
    return current ? board::opponent(current->colour) : board::kBlack;
}

void PreviewBoard::chooseSide(int candidate)
{
    m_side = m_game.hasNoMove(candidate) ? board::opponent(candidate) : candidate;
}

void PreviewBoard::refresh()
{
    showGamePosition(*this, m_picture, m_game, *m_moveCounter, m_stepButtons);
    emit positionChanged();
}

void PreviewBoard::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        if (const std::optional<BoardSquare> square = BoardGeometry::hitTest(at.x(), at.y()))
            play(*square);
    }
    QWidget::mousePressEvent(event);
}

void PreviewBoard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_picture.show(painter);
}
