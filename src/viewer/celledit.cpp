#include "viewer/celledit.h"

#include "viewer/boardgeometry.h"
#include "viewer/cellevents.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

CellEdit::CellEdit(QWidget* page)
    : QFrame(page)
    , m_page(page)
    , m_box(new QLineEdit(this))
{
    setObjectName(QStringLiteral("CellEdit"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    m_box->setObjectName(QStringLiteral("cellBox"));
    m_box->setFrame(false);
    m_box->setAlignment(Qt::AlignCenter);
    m_box->setTextMargins(0, 0, 0, 0);
    m_box->installEventFilter(this);
    hide();
}

void CellEdit::open(int column, int row, const QString& text, bool select)
{
    // Over the drawn square: the picture stands at (3, 3) in the page.
    setGeometry(BoardGeometry::shownAtX + BoardGeometry::squareLeft(column),
        BoardGeometry::shownAtY + BoardGeometry::squareTop(row), BoardGeometry::square,
        BoardGeometry::square);
    m_box->setText(text);
    if (select)
        m_box->selectAll();
    else
        m_box->end(false);
    show();
    raise();
    m_box->setFocus(Qt::OtherFocusReason);
}

void CellEdit::postKey(int key)
{
    QCoreApplication::postEvent(m_page, new CellEvent(MSG_CELL_KEY, key));
}

void CellEdit::postDone(bool commit)
{
    QCoreApplication::postEvent(m_page, new CellEvent(MSG_CELL_EDIT_DONE, commit ? 0 : -1));
}

bool CellEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_box)
        return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        // Esc and Enter belong to the box, not to the dialog's buttons.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        postDone(true);
        return true;
    case Qt::Key_Escape:
        postDone(false);
        return true;
    case Qt::Key_Tab:
        postKey(Qt::Key_Tab);
        return true;
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

void CellEdit::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    m_box->setGeometry(contentsRect());
}
