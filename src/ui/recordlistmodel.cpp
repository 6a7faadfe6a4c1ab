#include "ui/recordlistmodel.h"

#include "library/recordlibrary.h"
#include "platform/sjis.h"
#include "records/openingbook.h"
#include "records/textlimits.h"
#include "text/texts.h"
#include "ui/libraryimagelist.h"
#include "ui/listdatetext.h"

#include <QColor>

#include <algorithm>
#include <numeric>

namespace {

// Opening names are shown up to this many bytes.
constexpr size_t openingNameBytes = 127;

const std::array<const FixedText*, 6> recordsColumns { &texts::columnName, &texts::columnBlack,
    &texts::columnWhite, &texts::columnResult, &texts::columnOpening, &texts::columnDate };
const std::array<const FixedText*, 7> trashColumns { &texts::columnName, &texts::columnDeletedAt,
    &texts::columnBlack, &texts::columnWhite, &texts::columnResult, &texts::columnOpening,
    &texts::columnDate };
const std::array<const FixedText*, 2> computersColumns { &texts::columnName,
    &texts::columnComment };

const FixedText* columnTitle(ListMode mode, int column)
{
    const auto pick = [column](const auto& titles) -> const FixedText* {
        return column >= 0 && column < static_cast<int>(titles.size())
            ? titles[static_cast<size_t>(column)]
            : nullptr;
    };
    switch (mode) {
    case ListMode::Records:
        return pick(recordsColumns);
    case ListMode::Trash:
        return pick(trashColumns);
    case ListMode::Computers:
        return pick(computersColumns);
    }
    return nullptr;
}

} // namespace

RecordListModel::RecordListModel(
    const RecordLibrary& library, const LibraryImageList& images, QObject* parent)
    : QAbstractTableModel(parent)
    , m_library(library)
{
    for (int i = 0; i < static_cast<int>(m_icons.size()); ++i)
        m_icons[static_cast<size_t>(i)] = images.icon(i);
}

ListMode RecordListModel::modeFor(const RecordLibrary& library, FolderKey folder)
{
    if (folder.collection == trashCollection)
        return ListMode::Trash;
    if (folder.collection == networkCollection
        && library.collection(networkCollection).depth(folder.folder) <= 1)
        return ListMode::Computers;
    return ListMode::Records;
}

int RecordListModel::columnCount(ListMode mode)
{
    switch (mode) {
    case ListMode::Records:
        return static_cast<int>(recordsColumns.size());
    case ListMode::Trash:
        return static_cast<int>(trashColumns.size());
    case ListMode::Computers:
        return static_cast<int>(computersColumns.size());
    }
    return 0;
}

void RecordListModel::show(FolderKey folder, ListMode mode)
{
    beginResetModel();
    m_folder = folder;
    m_mode = mode;
    m_rows.clear();
    m_cut.clear();
    if (folder.valid()) {
        const RecordFolder& shown = m_library.collection(folder.collection).folder(folder.folder);
        m_rows.reserve(shown.children.size() + shown.records.size());
        for (int child : shown.children)
            m_rows.push_back(folderItem(child));
        for (int slot : shown.records)
            m_rows.push_back(recordItem(slot));
    }
    endResetModel();
}

void RecordListModel::showRecords(int collection, const std::vector<int>& records)
{
    beginResetModel();
    m_folder = { collection, 0 };
    m_mode = ListMode::Records;
    m_cut.clear();
    m_rows.resize(records.size());
    std::transform(records.begin(), records.end(), m_rows.begin(), recordItem);
    endResetModel();
}

int RecordListModel::rowOf(ListItemKey key) const
{
    const auto it = std::find(m_rows.begin(), m_rows.end(), key);
    return it == m_rows.end() ? -1 : static_cast<int>(it - m_rows.begin());
}

void RecordListModel::appendRow(ListItemKey key)
{
    const int row = static_cast<int>(m_rows.size());
    beginInsertRows(QModelIndex(), row, row);
    m_rows.push_back(key);
    endInsertRows();
}

void RecordListModel::removeRowOf(ListItemKey key)
{
    const int row = rowOf(key);
    if (row < 0)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void RecordListModel::refreshRow(ListItemKey key)
{
    const int row = rowOf(key);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void RecordListModel::sortRows(int column, bool descending)
{
    if (m_rows.size() < 2 || !m_folder.valid())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    const RecordCollection& data = m_library.collection(m_folder.collection).data();
    const int sign = descending ? -1 : 1;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return sign
            * compareListRows(data, m_mode, column, m_rows[static_cast<size_t>(a)],
                m_rows[static_cast<size_t>(b)])
            < 0;
    });
    std::vector<ListItemKey> sorted(m_rows.size());
    std::vector<int> newRow(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i) {
        sorted[i] = m_rows[static_cast<size_t>(order[i])];
        newRow[static_cast<size_t>(order[i])] = static_cast<int>(i);
    }
    m_rows = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after << index(newRow[static_cast<size_t>(i.row())], i.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int RecordListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columnCount(m_mode);
}

int RecordListModel::imageOf(ListItemKey key) const
{
    const CollectionTree& collection = m_library.collection(m_folder.collection);
    const int index = itemIndex(key);
    if (itemIsFolder(key)) {
        if (m_folder.collection == networkCollection)
            return collection.depth(index) == 1 ? LibraryImageList::Computer
                                                : LibraryImageList::ClosedFolder;
        return collection.folder(index).shareName.empty() ? LibraryImageList::ClosedFolder
                                                          : LibraryImageList::SharedClosedFolder;
    }
    switch (collection.record(index).winner) {
    case GameRecord::blackWins:
        return LibraryImageList::BlackWon;
    case GameRecord::whiteWins:
        return LibraryImageList::WhiteWon;
    default:
        return LibraryImageList::NoWinner;
    }
}

std::string RecordListModel::cellText(ListItemKey key, int column) const
{
    const CollectionTree& collection = m_library.collection(m_folder.collection);
    const int index = itemIndex(key);
    if (itemIsFolder(key)) {
        const RecordFolder& folder = collection.folder(index);
        switch (m_mode) {
        case ListMode::Records:
            return column == 0 ? folder.name
                : column == 5  ? listdatetext::folderDate(folder.created)
                               : std::string();
        case ListMode::Trash:
            return column == 0 ? folder.name
                : column == 1  ? listdatetext::recordDate(folder.deletedAt)
                : column == 6  ? listdatetext::folderDate(folder.created)
                               : std::string();
        case ListMode::Computers:
            return column == 0 ? folder.name : column == 1 ? folder.shareComment : std::string();
        }
        return {};
    }
    const GameRecord& record = collection.record(index);
    if (column == 0)
        return record.name;
    if (m_mode == ListMode::Computers)
        return {};
    if (m_mode == ListMode::Trash) {
        if (column == 1)
            return listdatetext::recordDate(record.deletedAt);
        --column;
    }
    switch (column) {
    case 1:
        return collection.playerNames().name(record.blackPlayer);
    case 2:
        return collection.playerNames().name(record.whitePlayer);
    case 3:
        return resultText(record);
    case 4:
        return std::string(
            clipText(m_library.openingBook().name(record.opening), openingNameBytes));
    case 5:
        return listdatetext::recordDate(record.playedAt);
    default:
        return {};
    }
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size()))
        return {};
    const ListItemKey key = m_rows[static_cast<size_t>(index.row())];
    // Rows kept from a search may name slots of a collection emptied since.
    if (!itemIsFolder(key)
        && itemIndex(key) >= m_library.collection(m_folder.collection).slotCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return fromSjis(cellText(key, index.column()));
    case Qt::DecorationRole:
        if (index.column() != 0)
            return {};
        if (isCut(key)) {
            // A cut row is drawn faded, as the system draws cut items.
            const QIcon& normal = m_icons[static_cast<size_t>(imageOf(key))];
            const QPixmap faded = normal.pixmap(LibraryImageList::size, QIcon::Disabled);
            QIcon icon;
            icon.addPixmap(faded, QIcon::Normal);
            icon.addPixmap(faded, QIcon::Selected);
            return icon;
        }
        return m_icons[static_cast<size_t>(imageOf(key))];
    case Qt::ForegroundRole:
        if (isCut(key))
            return QColor(Qt::gray);
        return {};
    default:
        return {};
    }
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    const FixedText* title = columnTitle(m_mode, section);
    return title ? QVariant(fromSjis(title->bytes())) : QVariant();
}

Qt::ItemFlags RecordListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0 && m_editable)
        f |= Qt::ItemIsEditable;
    if (index.isValid() && m_draggable)
        f |= Qt::ItemIsDragEnabled;
    return f;
}

void RecordListModel::setCutItems(const std::vector<ListItemKey>& keys)
{
    if (m_cut.empty() && keys.empty())
        return;
    m_cut = keys;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
            { Qt::DecorationRole, Qt::ForegroundRole });
}

bool RecordListModel::isCut(ListItemKey key) const
{
    return !m_cut.empty() && std::find(m_cut.begin(), m_cut.end(), key) != m_cut.end();
}

bool RecordListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    // The typed name never goes into the model directly: the library renames, checks first and
    // tells the list what changed.
    if (role == Qt::EditRole && index.isValid() && index.column() == 0 && m_renameHandler)
        m_renameHandler(index.row(), value.toString());
    return false;
}
