#include "ui/recorddrag.h"

#include "library/libraryoperations.h"
#include "library/recordlibrary.h"
#include "ui/dragcursors.h"
#include "ui/foldertreemodel.h"
#include "ui/foldertreeview.h"
#include "ui/libraryaccess.h"
#include "ui/recordlistmodel.h"
#include "ui/recordlistview.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

// The drag image shows the selected rows at most this many rows above or below the anchor.
constexpr int imageReach = 8;

} // namespace

RecordDrag::RecordDrag(
    RecordListView& list, FolderTreeView& tree, LibraryAccess& document, const DragCursors& cursors)
    : m_list(list)
    , m_tree(tree)
    , m_document(document)
    , m_cursors(cursors)
{ }

RecordDrag::~RecordDrag()
{
    if (m_active)
        end();
}

bool RecordDrag::begin(const QPoint& listViewportPos, const QPoint& globalPos)
{
    const FolderKey shown = m_list.shownFolder();
    if (m_active || !shown.valid() || shown == FolderKey { networkCollection, 0 })
        return false;
    const QModelIndex under = m_list.indexAt(listViewportPos);
    if (!under.isValid() || m_list.selectedRowNumbers().empty())
        return false;
    const int anchor = under.row();
    const QRect anchorRect = m_list.visualRect(m_list.listModel().index(anchor, 0));
    makeImage(anchor,
        QPoint(listViewportPos.x() + m_list.header()->offset(),
            listViewportPos.y() - anchorRect.top()));

    m_active = true;
    m_cursorKind = DragCursors::Move;
    m_lastPos = globalPos;
    m_listTarget = -1;
    m_tree.folderModel().setDropTarget({});
    QGuiApplication::setOverrideCursor(m_cursors.cursor(DragCursors::Move));
    m_list.viewport()->grabMouse();

    m_imageWindow = std::make_unique<QLabel>(
        nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput);
    m_imageWindow->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_imageWindow->setAttribute(Qt::WA_ShowWithoutActivating);
    m_imageWindow->setPixmap(m_image);
    m_imageWindow->setWindowOpacity(0.6);
    m_imageWindow->resize(m_image.size());
    m_imageWindow->move(globalPos - m_hotSpot);
    m_imageWindow->show();
    return true;
}

void RecordDrag::makeImage(int anchor, const QPoint& anchorOffset)
{
    m_imageRows.clear();
    for (int row : m_list.selectedRowNumbers()) {
        if (std::abs(row - anchor) <= imageReach)
            m_imageRows.push_back(row);
    }
    const int rowHeight
        = std::max(1, m_list.visualRect(m_list.listModel().index(anchor, 0)).height());
    const int width = std::max(1, m_list.header()->length());
    m_image = QPixmap(width, rowHeight * static_cast<int>(m_imageRows.size()));
    m_image.fill(Qt::transparent);
    QPainter painter(&m_image);
    int anchorPlace = 0;
    for (size_t i = 0; i < m_imageRows.size(); ++i) {
        if (m_imageRows[i] == anchor)
            anchorPlace = static_cast<int>(i);
        painter.drawPixmap(0, static_cast<int>(i) * rowHeight, m_list.rowPicture(m_imageRows[i]));
    }
    m_hotSpot = QPoint(anchorOffset.x(), anchorPlace * rowHeight + anchorOffset.y());
}

RecordDrag::Target RecordDrag::targetAt(const QPoint& globalPos) const
{
    Target target;
    const FolderKey shown = m_list.shownFolder();
    if (m_list.isVisible() && m_list.rect().contains(m_list.mapFromGlobal(globalPos))) {
        const QModelIndex index = m_list.indexAt(m_list.viewport()->mapFromGlobal(globalPos));
        const ListItemKey key = index.isValid() ? m_list.listModel().keyAt(index.row()) : 0;
        if (index.isValid() && itemIsFolder(key))
            return { Over::ListFolderRow, { shown.collection, itemIndex(key) }, index.row() };
        return { Over::ListArea, shown, -1 };
    }
    const QPoint inTree = m_tree.viewport()->mapFromGlobal(globalPos);
    if (m_tree.isVisible() && m_tree.viewport()->rect().contains(inTree)) {
        const FolderKey node = m_tree.folderModel().keyOf(m_tree.indexAt(inTree));
        if (node.valid())
            return { Over::TreeNode, node, -1 };
    }
    return target;
}

void RecordDrag::move(const QPoint& globalPos, bool ctrl)
{
    if (!m_active)
        return;
    m_lastPos = globalPos;
    const int source = m_list.shownFolder().collection;
    const bool copying = ctrl || source == networkCollection;
    int kind = copying ? DragCursors::Copy : DragCursors::Move;
    if (m_imageWindow)
        m_imageWindow->move(globalPos - m_hotSpot);

    const Target target = targetAt(globalPos);
    switch (target.over) {
    case Over::ListFolderRow:
        showTreeTarget({});
        showListTarget(target.listRow);
        if (source != myRecordsCollection)
            kind = DragCursors::NotAllowed;
        break;
    case Over::ListArea:
        // Dropped on its own folder, a row can only be copied there.
        showListTarget(-1);
        if (source != myRecordsCollection || !copying)
            kind = DragCursors::NotAllowed;
        break;
    case Over::TreeNode: {
        showListTarget(-1);
        showTreeTarget(target.folder);
        const int into = target.folder.collection;
        if (into == networkCollection || into == yahooCollection
            || (into == trashCollection
                && (source == networkCollection || source == trashCollection)))
            kind = DragCursors::NotAllowed;
        break;
    }
    case Over::Nothing:
        showListTarget(-1);
        showTreeTarget({});
        kind = DragCursors::NotAllowed;
        break;
    }
    if (kind != m_cursorKind) {
        m_cursorKind = kind;
        QGuiApplication::changeOverrideCursor(m_cursors.cursor(kind));
    }
}

void RecordDrag::ctrlChanged(bool ctrl)
{
    move(m_lastPos, ctrl);
}

void RecordDrag::showListTarget(int row)
{
    if (row == m_listTarget)
        return;
    QItemSelectionModel& selection = *m_list.selectionModel();
    const auto flags = QItemSelectionModel::Rows;
    if (m_listTarget >= 0 && !m_listTargetWasSelected)
        selection.select(
            m_list.listModel().index(m_listTarget, 0), QItemSelectionModel::Deselect | flags);
    m_listTarget = row;
    if (row < 0)
        return;
    const QModelIndex index = m_list.listModel().index(row, 0);
    m_listTargetWasSelected = selection.isSelected(index);
    selection.select(index, QItemSelectionModel::Select | flags);
    // The view holding the target gets the keyboard, so that its Ctrl flag follows the key.
    m_list.setFocus(Qt::OtherFocusReason);
}

void RecordDrag::showTreeTarget(FolderKey folder)
{
    if (m_tree.folderModel().dropTarget() == folder)
        return;
    m_tree.folderModel().setDropTarget(folder);
    if (folder.valid())
        m_tree.setFocus(Qt::OtherFocusReason);
}

void RecordDrag::end()
{
    showListTarget(-1);
    showTreeTarget({});
    m_list.viewport()->releaseMouse();
    QGuiApplication::restoreOverrideCursor();
    m_imageWindow.reset();
    m_active = false;
}

void RecordDrag::cancel()
{
    if (m_active)
        end();
}

void RecordDrag::drop(const QPoint& globalPos)
{
    if (!m_active)
        return;
    const Target target = targetAt(globalPos);
    end();
    const FolderKey shown = m_list.shownFolder();
    bool copy = false;
    switch (target.over) {
    case Over::ListFolderRow:
    case Over::ListArea:
        copy = m_list.ctrlDown();
        break;
    case Over::TreeNode:
        copy = m_tree.ctrlDown();
        break;
    case Over::Nothing:
        return;
    }
    // Somebody else's records can only be copied.
    if (shown.collection == networkCollection)
        copy = true;
    if (target.folder.collection == trashCollection
        && (shown.collection == networkCollection || shown.collection == trashCollection))
        return;
    std::vector<ItemRef> keys;
    for (int row : m_list.selectedRowNumbers())
        keys.push_back(m_list.listModel().keyAt(row));
    if (keys.empty())
        return;
    m_document.operations().moveOrCopy(shown.collection, shown.folder, keys,
        target.folder.collection, target.folder.folder, !copy);
}
