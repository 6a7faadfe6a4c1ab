#pragma once

#include "library/folderkey.h"

#include <QPixmap>
#include <QPoint>

#include <memory>
#include <vector>

class DragCursors;
class FolderTreeView;
class LibraryAccess;
class QLabel;
class RecordListView;

// A drag of the record list's selected rows onto a folder: a folder row of the list, the list's
// own folder (a record row or the empty area) or a node of the folder tree. The list holds the
// mouse while it lasts; the cursor tells move, copy or refused, and the drop hands the rows to
// the library's move or copy, which has the last word on what is allowed. The mouse handlers of
// the list call these functions; so do tests.
class RecordDrag {
public:
    // Where the pointer is, as the drag sees it.
    enum class Over { Nothing, ListFolderRow, ListArea, TreeNode };

    RecordDrag(RecordListView& list, FolderTreeView& tree, LibraryAccess& document,
        const DragCursors& cursors);
    ~RecordDrag();

    bool active() const { return m_active; }
    // Starts dragging the selected rows from the row at listViewportPos; globalPos is where the
    // pointer is. Nothing starts when the list shows the network root or no selected row is
    // there. Returns whether the drag started.
    bool begin(const QPoint& listViewportPos, const QPoint& globalPos);
    // The pointer moved to globalPos, with Ctrl held or not.
    void move(const QPoint& globalPos, bool ctrl);
    // Ctrl went down or up: the last position again, so the cursor changes at once.
    void ctrlChanged(bool ctrl);
    // A right click: the drag ends and nothing is moved.
    void cancel();
    // The left button came up at globalPos: the rows go where the pointer is, if anywhere.
    void drop(const QPoint& globalPos);

    // The cursor shown: 0 move, 1 copy, 2 refused (DragCursors' kinds).
    int cursorKind() const { return m_cursorKind; }
    // The rows whose pictures make up the drag image, from the top.
    const std::vector<int>& imageRows() const { return m_imageRows; }
    const QPixmap& image() const { return m_image; }
    // Where the image hangs from the pointer.
    QPoint hotSpot() const { return m_hotSpot; }
    // The list row shown as the drop target, or −1.
    int listTargetRow() const { return m_listTarget; }

private:
    struct Target {
        Over over = Over::Nothing;
        FolderKey folder;
        int listRow = -1;
    };
    Target targetAt(const QPoint& globalPos) const;
    void showListTarget(int row);
    void showTreeTarget(FolderKey folder);
    void makeImage(int anchor, const QPoint& anchorOffset);
    void end();

    RecordListView& m_list;
    FolderTreeView& m_tree;
    LibraryAccess& m_document;
    const DragCursors& m_cursors;
    bool m_active = false;
    int m_cursorKind = 0;
    QPoint m_lastPos;
    std::vector<int> m_imageRows;
    QPixmap m_image;
    QPoint m_hotSpot;
    std::unique_ptr<QLabel> m_imageWindow;
    int m_listTarget = -1;
    bool m_listTargetWasSelected = false;
};
