#pragma once

#include "board/sheetcursor.h"
#include "viewer/boardimage.h"

#include <QWidget>

class CellEdit;
struct EditedGame;

// The editor's 棋譜 page: the game as a record sheet, every square carrying the number of the
// move played there. The user moves a cursor over the squares and types numbers; after every
// change the sheet is replayed onto the editor's game, and the numbers' colours show the outcome:
// black numbers replay as a game, red ones stand on several squares, blue ones lie beyond where
// the replay stopped. Any content is accepted; numbers outside 0..60 are ignored.
class MoveSheetPage : public QWidget {
    Q_OBJECT
public:
    MoveSheetPage(EditedGame& edited, QWidget* parent = nullptr);

    const SheetCursor& cursor() const { return m_cursor; }
    bool isEditing() const { return m_editing; }
    CellEdit* cellEdit() const { return m_cellEdit; }
    const BoardImage& picture() const { return m_picture; }

    // Opens the number editor on a square: with a digit (1..9) as its text, or, with digit −1,
    // with the square's number 1..60 selected (empty for anything else).
    void openNumberEditor(int column, int row, int digit);
    // Closes the number editor; with commit the typed number (0..60, 0 empties the square) goes
    // on the square and the sheet is replayed.
    void closeNumberEditor(bool commit);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab is a sheet command, never a move to the next control.
    bool focusNextPrevChild(bool next) override;

private:
    static bool isCommandKey(int key);
    void cellKey(int key);
    void editDone(bool commit);
    // Erases the cursor, lets move place it anew, draws it.
    template <typename Move> void moveCursor(Move move);
    void clearSquare();
    void repaintSquares();
    void showPicture();

    EditedGame& m_edited;
    SheetCursor m_cursor;
    bool m_editing = false;
    CellEdit* m_cellEdit = nullptr;
    BoardImage m_picture;
};
