#pragma once

#include "library/folderkey.h"
#include "ui/listrowcompare.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <array>
#include <functional>
#include <vector>

class LibraryImageList;
class RecordLibrary;

// The key of a record-list row: a record slot, or a folder index with bit 24 set.
using ListItemKey = ItemRef;

// The rows of the record list: the child folders of the shown folder, then its records, each row
// a ListItemKey; the texts are read from the library whenever the view asks, so only the rows on
// screen cost anything. Rows are kept in the order they were added until sortRows; label edits
// never change the model itself but go to the rename handler, which renames through the library.
class RecordListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RecordListModel(
        const RecordLibrary& library, const LibraryImageList& images, QObject* parent = nullptr);

    // The layout a folder is shown in: the trash layout for the trash, the computers layout for
    // the network root and the computers below it, the records layout for everything else.
    static ListMode modeFor(const RecordLibrary& library, FolderKey folder);
    static int columnCount(ListMode mode);

    // Fills the rows from the folder in the folder's own order, in the given layout. An invalid key
    // empties the list.
    void show(FolderKey folder, ListMode mode);
    // Fills the rows with records of a collection in the given order (the results of a search),
    // in the records layout.
    void showRecords(int collection, const std::vector<int>& records);
    FolderKey shownFolder() const { return m_folder; }
    ListMode mode() const { return m_mode; }

    ListItemKey keyAt(int row) const { return m_rows[static_cast<size_t>(row)]; }
    // The row holding the key, or −1.
    int rowOf(ListItemKey key) const;
    void appendRow(ListItemKey key);
    void removeRowOf(ListItemKey key);
    // The row's texts or picture changed.
    void refreshRow(ListItemKey key);
    // Reorders the rows by a column (compareListRows), keeping equal rows in their order.
    void sortRows(int column, bool descending);

    // Draws these rows faded, as items that were cut; an empty list clears the mark. Rows shown
    // later keep no mark.
    void setCutItems(const std::vector<ListItemKey>& keys);
    bool isCut(ListItemKey key) const;
    // Rows may be dragged (the list runs the drag itself).
    void setDraggable(bool draggable) { m_draggable = draggable; }

    // Whether labels may be edited in this listing.
    void setEditable(bool editable) { m_editable = editable; }
    // Receives every finished label edit of column 0: the row and the text typed.
    void setRenameHandler(std::function<void(int row, const QString& text)> handler)
    {
        m_renameHandler = std::move(handler);
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    std::string cellText(ListItemKey key, int column) const;
    int imageOf(ListItemKey key) const;

    const RecordLibrary& m_library;
    std::array<QIcon, 16> m_icons;
    FolderKey m_folder;
    ListMode m_mode = ListMode::Records;
    std::vector<ListItemKey> m_rows;
    bool m_editable = false;
    bool m_draggable = false;
    std::vector<ListItemKey> m_cut;
    std::function<void(int, const QString&)> m_renameHandler;
};
