#include "viewer/boardpage.h"

#include "text/texts.h"
#include "ui/dialogunits.h"
#include "viewer/boardgeometry.h"
#include "viewer/editedgame.h"
#include "viewer/pressbutton.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

QString text(const FixedText& t)
{
    return QString::fromUtf8(t.utf8().data(), static_cast<qsizetype>(t.utf8().size()));
}

} // namespace

BoardPage::BoardPage(EditedGame& edited, QWidget* parent)
    : QWidget(parent)
    , m_edited(edited)
{
    setObjectName(QStringLiteral("BoardPage"));
    const struct {
        Button which;
        const FixedText& label;
        int x;
    } buttons[] = {
        { First, texts::editorFirst, 2 },
        { Back, texts::editorBack, 26 },
        { Forward, texts::editorForward, 50 },
        { Last, texts::editorLast, 74 },
    };
    for (const auto& b : buttons) {
        m_buttons[b.which] = new PressButton(text(b.label), this);
        m_buttons[b.which]->setGeometry(dialogunits::toPixels(b.x, 164, 21, 14));
    }
    m_moveCounter = new QLabel(this);
    m_moveCounter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_moveCounter->setGeometry(dialogunits::toPixels(112, 165, 22, 12));

    connect(m_buttons[First], &QPushButton::clicked, this, &BoardPage::goToStart);
    connect(m_buttons[Last], &QPushButton::clicked, this, &BoardPage::goToEnd);
    // Their click notifications do nothing: a press steps once, the keyboard never.
    connect(m_buttons[Back], &PressButton::leftPressed, this, &BoardPage::stepBack);
    connect(m_buttons[Forward], &PressButton::leftPressed, this, &BoardPage::stepForward);
    refresh();
}

void BoardPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
}

void BoardPage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_picture.show(painter);
}

void BoardPage::refresh()
{
    const OthelloGame& game = m_edited.game;
    m_picture.paintDiscBoard(game);
    if (const MoveEntry* entry = game.current())
        m_picture.markSquare(board::columnOf(entry->square), board::rowOf(entry->square));
    m_moveCounter->setText(
        QString::asprintf(texts::viewerMoveCounter.utf8().data(), game.cursor()));
    const bool ahead = game.cursor() < game.length();
    const bool behind = game.cursor() > 0;
    m_buttons[Forward]->setEnabled(ahead);
    m_buttons[Last]->setEnabled(ahead);
    m_buttons[Back]->setEnabled(behind);
    m_buttons[First]->setEnabled(behind);
    update(BoardImage::shownRect());
}

void BoardPage::goToStart()
{
    while (m_edited.game.undo()) { }
    refresh();
    m_edited.sideToMove = m_edited.game.sideToMove();
}

void BoardPage::goToEnd()
{
    while (m_edited.game.redo()) { }
    refresh();
    m_edited.sideToMove = m_edited.game.sideToMove();
}

void BoardPage::stepBack()
{
    if (!m_edited.game.undo())
        return;
    refresh();
    m_edited.sideToMove = m_edited.game.sideToMove();
}

void BoardPage::stepForward()
{
    if (!m_edited.game.redo())
        return;
    refresh();
    m_edited.sideToMove = m_edited.game.sideToMove();
}

bool BoardPage::playAt(int column, int row)
{
    if (!m_edited.game.playAndRecord(board::squareAt(row, column), m_edited.sideToMove))
        return false;
    // The opponent plays next, or the same colour again when the opponent must pass.
    m_edited.sideToMove = m_edited.game.sideToMove();
    refresh();
    const int number = m_edited.game.cursor();
    m_edited.grid.removeNumber(number);
    m_edited.grid.set(row, column, number);
    m_edited.grid.rebuild();
    return true;
}

void BoardPage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (const std::optional<BoardSquare> hit = BoardGeometry::hitTest(at.x(), at.y()))
        playAt(hit->column, hit->row);
}
