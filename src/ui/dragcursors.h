#pragma once

#include <QCursor>

#include <array>

// The three cursors of drag and drop, by kind: 0 the arrow (move), 1 the program's own copy cursor
// (an arrow with a plus sign), 2 the "not allowed" cursor.
class DragCursors {
public:
    enum Kind { Move = 0, Copy = 1, NotAllowed = 2 };

    DragCursors();
    // The cursor of a kind; a kind outside 0..2 gives the arrow.
    const QCursor& cursor(int kind) const;

private:
    std::array<QCursor, 3> m_cursors;
};
