#include "viewer/movesheetpage.h"

#include "net/wirenumber.h"
#include "viewer/boardgeometry.h"
#include "viewer/celledit.h"
#include "viewer/cellevents.h"
#include "viewer/editedgame.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The digit of a digit key (main keys and keypad alike), or −1.
int digitOf(int key)
{
    return key >= Qt::Key_0 && key <= Qt::Key_9 ? key - Qt::Key_0 : -1;
}

} // namespace

MoveSheetPage::MoveSheetPage(EditedGame& edited, QWidget* parent)
    : QWidget(parent)
    , m_edited(edited)
{
    setObjectName(QStringLiteral("MoveSheetPage"));
    setFocusPolicy(Qt::StrongFocus);
    m_cellEdit = new CellEdit(this);
    m_picture.paintSheet(m_edited.grid, m_cursor.column(), m_cursor.row());
}

void MoveSheetPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_edited.replaySheet();
    m_picture.paintSheet(m_edited.grid, m_cursor.column(), m_cursor.row());
    if (m_editing)
        m_picture.drawCursor(m_cursor.column(), m_cursor.row(), false);
    showPicture();
}

void MoveSheetPage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_picture.show(painter);
}

void MoveSheetPage::showPicture()
{
    update(BoardImage::shownRect());
}

void MoveSheetPage::repaintSquares()
{
    m_picture.paintSheetSquares(m_edited.grid);
}

bool MoveSheetPage::event(QEvent* event)
{
    if (event->type() == static_cast<QEvent::Type>(MSG_CELL_EDIT_DONE)) {
        editDone(static_cast<CellEvent*>(event)->value() == 0);
        return true;
    }
    if (event->type() == static_cast<QEvent::Type>(MSG_CELL_KEY)) {
        cellKey(static_cast<CellEvent*>(event)->value());
        return true;
    }
    return QWidget::event(event);
}

bool MoveSheetPage::focusNextPrevChild(bool)
{
    return false;
}

void MoveSheetPage::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (m_editing)
        closeNumberEditor(true);
    const QPoint at = event->position().toPoint();
    const std::optional<BoardSquare> hit = BoardGeometry::hitTest(at.x(), at.y());
    if (!hit || SheetCursor::isCentre(hit->column, hit->row))
        return;
    m_picture.drawCursor(m_cursor.column(), m_cursor.row(), false);
    if (hit->column == m_cursor.column() && hit->row == m_cursor.row()) {
        showPicture();
        openNumberEditor(hit->column, hit->row, -1);
        return;
    }
    m_cursor.moveTo(hit->column, hit->row);
    m_picture.drawCursor(m_cursor.column(), m_cursor.row(), true);
    showPicture();
}

bool MoveSheetPage::isCommandKey(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Delete:
    case Qt::Key_F2:
        return true;
    default:
        return digitOf(key) >= 0;
    }
}

void MoveSheetPage::keyPressEvent(QKeyEvent* event)
{
    // The number editor is closed (it has the keys while it is open): every sheet key is a
    // command, posted as the editor posts its own. Other keys go on to the dialog.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier || !isCommandKey(event->key())) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_cellEdit->postKey(event->key());
    event->accept();
}

void MoveSheetPage::cellKey(int key)
{
    if (m_editing) {
        // Commands that were queued behind the one that opened the editor: Tab and Enter end
        // the number as they would in the editor, digits are typed into it, the rest is dropped.
        if (key == Qt::Key_Tab) {
            closeNumberEditor(true);
            moveCursor([this] { m_cursor.nextInRow(); });
        } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            editDone(true);
        } else if (digitOf(key) >= 0) {
            m_cellEdit->box()->insert(QString::number(digitOf(key)));
        }
        return;
    }
    switch (key) {
    case Qt::Key_Tab:
        moveCursor([this] { m_cursor.nextInRow(); });
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        moveCursor([this] { m_cursor.nextInColumn(); });
        return;
    case Qt::Key_Left:
        moveCursor([this] { m_cursor.step(-1, 0); });
        return;
    case Qt::Key_Right:
        moveCursor([this] { m_cursor.step(1, 0); });
        return;
    case Qt::Key_Up:
        moveCursor([this] { m_cursor.step(0, -1); });
        return;
    case Qt::Key_Down:
        moveCursor([this] { m_cursor.step(0, 1); });
        return;
    case Qt::Key_Delete:
        clearSquare();
        return;
    case Qt::Key_F2:
        openNumberEditor(m_cursor.column(), m_cursor.row(), -1);
        return;
    default:
        break;
    }
    const int digit = digitOf(key);
    if (digit == 0)
        openNumberEditor(m_cursor.column(), m_cursor.row(), -1);
    else if (digit > 0)
        openNumberEditor(m_cursor.column(), m_cursor.row(), digit);
}

template <typename Move> void MoveSheetPage::moveCursor(Move move)
{
    m_picture.drawCursor(m_cursor.column(), m_cursor.row(), false);
    move();
    m_picture.drawCursor(m_cursor.column(), m_cursor.row(), true);
    showPicture();
}

void MoveSheetPage::clearSquare()
{
    const int value = m_edited.grid.at(m_cursor.row(), m_cursor.column());
    if (value < 1 || value > MoveList::kMaxMoves)
        return;
    m_edited.grid.write(m_cursor.row(), m_cursor.column(), 0);
    m_edited.replaySheet();
    m_picture.drawCursor(m_cursor.column(), m_cursor.row(), false);
    repaintSquares();
    m_picture.drawCursor(m_cursor.column(), m_cursor.row(), true);
    showPicture();
}

void MoveSheetPage::openNumberEditor(int column, int row, int digit)
{
    if (!m_cursor.moveTo(column, row))
        return;
    m_editing = true;
    QString text;
    if (digit > 0) {
        text = QString::number(digit);
    } else {
        const int value = m_edited.grid.at(row, column);
        if (value >= 1 && value <= MoveList::kMaxMoves)
            text = QString::number(value);
    }
    m_picture.drawCursor(column, row, false);
    showPicture();
    m_cellEdit->open(column, row, text, digit <= 0);
}

void MoveSheetPage::closeNumberEditor(bool commit)
{
    if (commit) {
        const int number = readNumber(m_cellEdit->box()->text().toStdString());
        if (m_edited.grid.write(m_cursor.row(), m_cursor.column(), number))
            m_edited.replaySheet();
    }
    m_cellEdit->hide();
    setFocus(Qt::OtherFocusReason);
    m_picture.drawCursor(m_cursor.column(), m_cursor.row(), false);
    repaintSquares();
    m_picture.drawCursor(m_cursor.column(), m_cursor.row(), true);
    showPicture();
    m_editing = false;
}

void MoveSheetPage::editDone(bool commit)
{
    if (!m_editing)
        return;
    closeNumberEditor(commit);
    if (commit)
        moveCursor([this] { m_cursor.nextInColumn(); });
}
