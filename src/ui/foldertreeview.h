#pragma once

#include "library/folderkey.h"
#include "ui/commandtarget.h"

#include <QBasicTimer>
#include <QTreeView>

class MainWindow;
class LibraryAccess;
class FolderTreeModel;
class LibraryImageList;

// The folder tree: the left pane of the main window. It shows the four collections and their
// folders; selecting a node shows that folder in the record list. It offers a context menu per
// kind of node, renaming in place, the Delete key and cut/copy/paste of one folder, and the
// library's updates reach it through the document.
class FolderTreeView : public QTreeView, public CommandTarget {
    Q_OBJECT
public:
    using QTreeView::edit;
    // frame may be null (a tree without a main window has no context menus).
    FolderTreeView(LibraryAccess& document, const LibraryImageList& images,
        MainWindow* frame = nullptr, QWidget* parent = nullptr);
    ~FolderTreeView() override;

    FolderTreeModel& folderModel() const { return *m_model; }

    // Builds every node from the library and selects マイ 棋譜集.
    void build();

    // The library's updates.
    void insertFolder(FolderKey folder);
    void removeFolder(FolderKey folder);
    void removeChildren(FolderKey folder);
    void renameFolder(FolderKey folder);
    void setShared(FolderKey folder, bool shared);
    void expandFolder(FolderKey folder);
    // Selects the folder's node, which shows the folder in the list.
    void select(FolderKey folder);
    // The selected node's folder; invalid when none is selected.
    FolderKey selectedFolder() const;
    // The node last right-clicked: the target of the context menu's commands.
    FolderKey contextFolder() const { return m_contextKey; }
    // Marks the node of a cut folder; an invalid key clears the mark.
    void setCutFolder(FolderKey folder);
    // Starts renaming the folder's node in place (refused for roots and network folders).
    void startRename(FolderKey folder);
    bool isEditingLabel() const { return m_editing; }
    bool ctrlDown() const { return m_ctrlDown; }

    // Opens the context menu of the node at a point of the viewport, as a right click does.
    void openContextMenu(const QPoint& viewportPos);

signals:
    // The selection moved to another folder.
    void folderSelected(FolderKey folder);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // Files dragged from a file manager are read into the folder under the pointer.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The folder that files dropped at a point of the viewport go to.
    FolderKey fileDropTarget(const QPoint& viewportPos) const;
    void registerCommands();
    void finishRename(FolderKey folder, const QString& text);
    void copyOrCut(FolderKey folder, bool cut);
    static bool canCut(FolderKey folder);
    static bool canCopy(FolderKey folder);
    bool canPaste() const;
    void deleteFolder(FolderKey folder);
    void setCtrlDown(bool down);
    bool networkConnected() const;

    LibraryAccess& m_document;
    MainWindow* m_frame;
    FolderTreeModel* m_model;
    FolderKey m_contextKey;
    FolderKey m_editKey;
    // True exactly while a label editor is open.
    bool m_editing = false;
    // A click on the selected node renames it once the double-click time has passed.
    QBasicTimer m_renameDelay;
    FolderKey m_renameKey;
    bool m_ctrlDown = false;
};
