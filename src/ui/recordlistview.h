#pragma once

#include "library/folderkey.h"
#include "ui/commandtarget.h"
#include "ui/listrowcompare.h"

#include <QBasicTimer>
#include <QTreeView>

#include <memory>

#include <vector>

class MainWindow;
class LibraryAccess;
class LibraryImageList;
class RecordDrag;
class RecordListModel;

// The record list: the upper right pane of the main window, a report of the folders and records
// of the folder selected in the tree, in one of three column layouts. It sorts on a column
// click, renames in place, offers a context menu per situation, and the library's row updates
// reach it through the document.
class RecordListView : public QTreeView, public CommandTarget {
    Q_OBJECT
public:
    using QTreeView::edit;
    // frame may be null (a list without a main window has no context menus).
    RecordListView(LibraryAccess& document, const LibraryImageList& images,
        MainWindow* frame = nullptr, QWidget* parent = nullptr);
    ~RecordListView() override;

    RecordListModel& listModel() const { return *m_model; }

    // Fills the list with the folder's child folders and records; an invalid key empties it.
    void showFolder(FolderKey folder);
    // Shows the shown folder again.
    void refresh();
    FolderKey shownFolder() const;
    ListMode mode() const;

    // The library's row updates, for rows of the shown folder.
    void addFolderRow(int folder);
    void addRecordRow(int slot);
    void renameFolderRow(int folder);
    void renameRecordRow(int slot);
    // Takes the record's row out and appends it again, in view.
    void updateRecordRow(int slot);
    void updateFolderRow(int folder);
    void removeRecordRow(int slot);

    // A click on a column title: the same column twice in the same layout reverses the order.
    void sortByColumn(int column);
    int sortColumn() const { return m_sortColumn; }
    bool sortDescending() const { return m_sortDescending; }

    // Starts renaming the row in place (refused in the trash and the network computers).
    void startRename(int row);
    bool isEditingLabel() const { return m_editing; }
    bool ctrlDown() const { return m_ctrlDown; }
    // The selected rows from the top.
    std::vector<int> selectedRowNumbers() const;

    // Opens the context menu for the present selection, as a right click at a point of the
    // viewport does.
    void openContextMenu(const QPoint& viewportPos);

    // Copies or cuts the selected rows into the program's clipboard; the moves of the records
    // go to the system clipboard as text, one record a line.
    void copyOrCutSelection(bool cut);
    // The drag of rows, while the list is in a main window (null otherwise).
    RecordDrag* drag();
    // The picture of one row, all columns, drawn as selected: a piece of the drag image.
    QPixmap rowPicture(int row) const;

signals:
    // A folder was shown (a network folder whose listing is old is asked for again).
    void folderShown(FolderKey folder);
    // 最新の情報に更新 was chosen on the shown folder (a network folder is asked for again).
    void refreshRequested(FolderKey folder);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // Files dragged from a file manager are read into the folder under the pointer.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // The folder that files dropped at a point of the viewport go to.
    FolderKey fileDropTarget(const QPoint& viewportPos) const;
    void registerCommands();
    void applyColumns(ListMode mode);
    void finishRename(ItemRef key, const QString& text);
    // The folder the last context menu was about: the shown folder when nothing was selected.
    FolderKey menuFolder() const;
    void openFolderOf(FolderKey folder);
    void newItem(bool folder);
    void deleteSelection();
    void deleteMenuFolder();
    void renameMenuItem();
    void selectRow(int row);
    bool showsEditableFolder() const;
    bool labelsEditable() const;
    bool networkConnected() const;
    bool canCopy() const;
    bool canCut() const;
    void showCutRows();

    LibraryAccess& m_document;
    MainWindow* m_frame;
    RecordListModel* m_model;
    int m_sortColumn = -1;
    bool m_sortDescending = false;
    int m_sortMode = -1;
    bool m_menuOnShownFolder = true;
    ItemRef m_menuItem = 0;
    // True exactly while a label editor is open.
    bool m_editing = false;
    // A click on the selected row renames it once the double-click time has passed.
    QBasicTimer m_renameDelay;
    ItemRef m_renameKey = 0;
    bool m_doubleClicked = false;
    // The record being renamed from here: its row keeps its place.
    int m_renamingSlot = -1;
    bool m_ctrlDown = false;
    std::unique_ptr<RecordDrag> m_drag;
    QPoint m_pressPos; // where the left button went down, in the viewport
    QPoint m_lastMouse; // the pointer's last place, on the screen
};
