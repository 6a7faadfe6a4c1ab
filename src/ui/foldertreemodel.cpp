#include "ui/foldertreemodel.h"

#include "library/recordlibrary.h"
#include "platform/sjis.h"
#include "records/textlimits.h"
#include "ui/libraryimagelist.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <array>

namespace {

// Node texts are cut to this many bytes.
constexpr size_t nodeTextBytes = 511;

// The roots from the top, whatever the order of the collections.
constexpr std::array<int, 4> rootOrder { myRecordsCollection, trashCollection, yahooCollection,
    networkCollection };

int rootImage(int collection)
{
    switch (collection) {
    case myRecordsCollection:
        return LibraryImageList::MyRecords;
    case trashCollection:
        return LibraryImageList::Trash;
    case yahooCollection:
        return LibraryImageList::Yahoo;
    default:
        return LibraryImageList::NetworkRoot;
    }
}

} // namespace

FolderTreeModel::FolderTreeModel(
    const RecordLibrary& library, const LibraryImageList& images, QObject* parent)
    : QAbstractItemModel(parent)
    , m_library(library)
    , m_images(images)
{ }

FolderTreeModel::~FolderTreeModel() = default;

void FolderTreeModel::build()
{
    beginResetModel();
    m_roots.clear();
    m_nodes.clear();
    m_cut = {};
    m_dropTarget = {};
    for (int collection : rootOrder) {
        if (m_library.collection(collection).folderCount() == 0)
            continue;
        auto root = makeNode({ collection, 0 }, nullptr);
        if (collection != trashCollection)
            addChildren(*root);
        m_roots.push_back(std::move(root));
    }
    endResetModel();
}

std::unique_ptr<FolderTreeModel::Node> FolderTreeModel::makeNode(FolderKey key, Node* parent)
{
    auto node = std::make_unique<Node>();
    node->key = key;
    node->parent = parent;
    setName(*node);
    setPictures(*node, !m_library.collection(key.collection).folder(key.folder).shareName.empty());
    m_nodes[key.packed()] = node.get();
    return node;
}

void FolderTreeModel::addChildren(Node& node)
{
    const CollectionTree& collection = m_library.collection(node.key.collection);
    for (int child : collection.folder(node.key.folder).children) {
        if (!collection.folderIsLive(child) || nodeOf({ node.key.collection, child }))
            continue;
        auto made = makeNode({ node.key.collection, child }, &node);
        addChildren(*made);
        const int row = insertionRow(node.children, made->name, nullptr);
        node.children.insert(node.children.begin() + row, std::move(made));
    }
}

void FolderTreeModel::setName(Node& node)
{
    node.name = m_library.collection(node.key.collection).folder(node.key.folder).name;
    node.text = fromSjis(clipText(node.name, nodeTextBytes));
}

void FolderTreeModel::setPictures(Node& node, bool shared)
{
    const FolderKey key = node.key;
    if (key.folder == 0) {
        node.closedImage = node.openImage = rootImage(key.collection);
    } else if (key.collection == networkCollection) {
        // Network folders never show the shared mark: everything there is somebody's share.
        if (m_library.collection(key.collection).depth(key.folder) == 1)
            node.closedImage = node.openImage = LibraryImageList::Computer;
        else
            node.closedImage = LibraryImageList::ClosedFolder,
            node.openImage = LibraryImageList::OpenFolder;
    } else if (shared) {
        node.closedImage = LibraryImageList::SharedClosedFolder;
        node.openImage = LibraryImageList::SharedOpenFolder;
    } else {
        node.closedImage = LibraryImageList::ClosedFolder;
        node.openImage = LibraryImageList::OpenFolder;
    }
}

int FolderTreeModel::insertionRow(
    const std::vector<std::unique_ptr<Node>>& siblings, const std::string& name, const Node* skip)
{
    // After the last sibling whose name does not sort after this one; the node itself, when it is
    // among the siblings, does not count.
    int row = 0;
    for (const auto& sibling : siblings) {
        if (sibling.get() == skip)
            continue;
        if (name < sibling->name)
            break;
        ++row;
    }
    return row;
}

FolderTreeModel::Node* FolderTreeModel::nodeOf(FolderKey key) const
{
    const auto it = m_nodes.find(key.packed());
    return it == m_nodes.end() ? nullptr : it->second;
}

FolderTreeModel::Node* FolderTreeModel::nodeAt(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

const std::vector<std::unique_ptr<FolderTreeModel::Node>>& FolderTreeModel::siblingsOf(
    const Node* node) const
{
    return node->parent ? node->parent->children : m_roots;
}

int FolderTreeModel::rowOfNode(const Node* node) const
{
    const auto& siblings = siblingsOf(node);
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == node)
            return static_cast<int>(i);
    }
    return -1;
}

QModelIndex FolderTreeModel::indexOfNode(const Node* node) const
{
    if (!node)
        return {};
    return createIndex(rowOfNode(node), 0, const_cast<Node*>(node));
}

QModelIndex FolderTreeModel::indexOf(FolderKey key) const
{
    return indexOfNode(nodeOf(key));
}

FolderKey FolderTreeModel::keyOf(const QModelIndex& index) const
{
    const Node* node = nodeAt(index);
    return node ? node->key : FolderKey {};
}

void FolderTreeModel::insertFolder(FolderKey key)
{
    if (!key.valid() || nodeOf(key))
        return;
    const CollectionTree& collection = m_library.collection(key.collection);
    if (key.folder == 0 || key.collection == trashCollection
        || !collection.folderIsLive(key.folder))
        return;
    Node* parent = nodeOf({ key.collection, collection.folder(key.folder).parent });
    if (!parent)
        return;
    auto node = makeNode(key, parent);
    addChildren(*node);
    const int row = insertionRow(parent->children, node->name, nullptr);
    beginInsertRows(indexOfNode(parent), row, row);
    parent->children.insert(parent->children.begin() + row, std::move(node));
    endInsertRows();
}

void FolderTreeModel::forget(const Node& node)
{
    for (const auto& child : node.children)
        forget(*child);
    if (m_cut == node.key)
        m_cut = {};
    if (m_dropTarget == node.key)
        m_dropTarget = {};
    m_nodes.erase(node.key.packed());
}

void FolderTreeModel::removeFolder(FolderKey key)
{
    Node* node = nodeOf(key);
    if (!node || !node->parent)
        return;
    const int row = rowOfNode(node);
    Node* parent = node->parent;
    beginRemoveRows(indexOfNode(parent), row, row);
    forget(*node);
    parent->children.erase(parent->children.begin() + row);
    endRemoveRows();
}

void FolderTreeModel::removeChildren(FolderKey key)
{
    Node* node = nodeOf(key);
    if (!node || node->children.empty())
        return;
    beginRemoveRows(indexOfNode(node), 0, static_cast<int>(node->children.size()) - 1);
    for (const auto& child : node->children)
        forget(*child);
    node->children.clear();
    endRemoveRows();
}

void FolderTreeModel::renameFolder(FolderKey key)
{
    Node* node = nodeOf(key);
    if (!node)
        return;
    setName(*node);
    const QModelIndex at = indexOfNode(node);
    emit dataChanged(at, at);
    if (!node->parent)
        return;
    // The siblings stay in name order: the node moves to its new place, keeping its subtree, its
    // expansion and the selection.
    auto& siblings = node->parent->children;
    const int row = at.row();
    const int place = insertionRow(siblings, node->name, node);
    if (place == row)
        return;
    const QModelIndex parentIndex = indexOfNode(node->parent);
    beginMoveRows(parentIndex, row, row, parentIndex, place > row ? place + 1 : place);
    auto moving = std::move(siblings[static_cast<size_t>(row)]);
    siblings.erase(siblings.begin() + row);
    siblings.insert(siblings.begin() + place, std::move(moving));
    endMoveRows();
}

void FolderTreeModel::setShared(FolderKey key, bool shared)
{
    Node* node = nodeOf(key);
    if (!node)
        return;
    setPictures(*node, shared);
    const QModelIndex at = indexOfNode(node);
    emit dataChanged(at, at, { Qt::DecorationRole });
}

void FolderTreeModel::setCutFolder(FolderKey key)
{
    const FolderKey before = m_cut;
    m_cut = nodeOf(key) ? key : FolderKey {};
    for (FolderKey changed : { before, m_cut }) {
        const QModelIndex at = indexOf(changed);
        if (at.isValid())
            emit dataChanged(at, at);
    }
}

void FolderTreeModel::setDropTarget(FolderKey key)
{
    const FolderKey before = m_dropTarget;
    m_dropTarget = nodeOf(key) ? key : FolderKey {};
    if (before == m_dropTarget)
        return;
    for (FolderKey changed : { before, m_dropTarget }) {
        const QModelIndex at = indexOf(changed);
        if (at.isValid())
            emit dataChanged(at, at);
    }
}

QIcon FolderTreeModel::iconOf(const Node& node) const
{
    QIcon icon;
    if (node.key == m_cut) {
        // A cut folder is drawn faded, as the system draws cut items.
        const QPixmap faded = QIcon(m_images.pixmap(node.closedImage))
                                  .pixmap(LibraryImageList::size, QIcon::Disabled);
        icon.addPixmap(faded, QIcon::Normal);
        icon.addPixmap(faded, QIcon::Selected);
        return icon;
    }
    icon.addPixmap(m_images.pixmap(node.closedImage), QIcon::Normal);
    icon.addPixmap(m_images.pixmap(node.openImage), QIcon::Selected);
    return icon;
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    const Node* parentNode = nodeAt(parent);
    const auto& children = parentNode ? parentNode->children : m_roots;
    if (row >= static_cast<int>(children.size()))
        return {};
    return createIndex(row, 0, children[static_cast<size_t>(row)].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const
{
    const Node* node = nodeAt(child);
    return node ? indexOfNode(node->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const Node* node = nodeAt(parent);
    return static_cast<int>(node ? node->children.size() : m_roots.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const
{
    const Node* node = nodeAt(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return node->text;
    case Qt::EditRole:
        return fromSjis(node->name);
    case Qt::DecorationRole:
        return iconOf(*node);
    case Qt::ForegroundRole:
        if (node->key == m_dropTarget)
            return QGuiApplication::palette().color(QPalette::HighlightedText);
        if (node->key == m_cut)
            return QColor(Qt::gray);
        return {};
    case Qt::BackgroundRole:
        if (node->key == m_dropTarget)
            return QGuiApplication::palette().brush(QPalette::Highlight);
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractItemModel::flags(index);
    const Node* node = nodeAt(index);
    // Only folders of one's own, below a root, take a new name in place.
    if (node && node->key.folder != 0 && node->key.collection != networkCollection)
        f |= Qt::ItemIsEditable;
    return f;
}

bool FolderTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const Node* node = nodeAt(index);
    if (role == Qt::EditRole && node && m_renameHandler)
        m_renameHandler(node->key, value.toString());
    return false;
}
