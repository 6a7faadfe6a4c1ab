#pragma once

#include <QFrame>

class QLineEdit;

// The sheet page's number editor: a thin frame around one single-line box with centred text, a
// child of the page for the page's whole life, shown over a square only while a number is typed.
// Enter, Esc and Tab in the box do not reach the dialog: they become messages posted to the page
// (MSG_CELL_EDIT_DONE, MSG_CELL_KEY).
class CellEdit : public QFrame {
    Q_OBJECT
public:
    explicit CellEdit(QWidget* page);

    QLineEdit* box() const { return m_box; }
    // Shows the editor over a square of the page, exactly covering it, with this text (selected
    // whole when select is set) and the keyboard focus.
    void open(int column, int row, const QString& text, bool select);
    // Posts a key press as a sheet command to the page.
    void postKey(int key);
    void postDone(bool commit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_page;
    QLineEdit* m_box;
};
