#pragma once

#include "library/folderkey.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class LibraryImageList;
class RecordLibrary;

// The nodes of the folder tree: the four collection roots in the order マイ 棋譜集, ごみ箱,
// Yahoo! Games, ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ, and below them the live folders, kept in name order among their
// siblings. Each node carries its FolderKey; the model finds a folder's node through its key, so
// that library changes reach the node directly. The trash shows its root only. Label edits never
// change the model: they go to the rename handler, which renames through the library.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    FolderTreeModel(
        const RecordLibrary& library, const LibraryImageList& images, QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // Builds every node from the library (the first update of the view).
    void build();

    // The node's index, or an invalid one when the folder has no node.
    QModelIndex indexOf(FolderKey key) const;
    FolderKey keyOf(const QModelIndex& index) const;

    // The library operations' updates.
    // Inserts the folder's node in name order below its parent's node, with its subtree.
    void insertFolder(FolderKey key);
    void removeFolder(FolderKey key);
    void removeChildren(FolderKey key);
    // Takes the folder's current name and moves the node to its place in name order.
    void renameFolder(FolderKey key);
    void setShared(FolderKey key, bool shared);

    // Draws the node dimmed, as a folder that was cut; an invalid key clears the mark.
    void setCutFolder(FolderKey key);
    FolderKey cutFolder() const { return m_cut; }
    // Draws the node highlighted as the place a drag would drop; an invalid key clears it.
    void setDropTarget(FolderKey key);
    FolderKey dropTarget() const { return m_dropTarget; }

    void setRenameHandler(std::function<void(FolderKey, const QString&)> handler)
    {
        m_renameHandler = std::move(handler);
    }

    QModelIndex index(
        int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    struct Node {
        FolderKey key;
        Node* parent = nullptr;
        std::string name; // CP932, as the sibling order compares it
        QString text;
        int closedImage = 0;
        int openImage = 0;
        std::vector<std::unique_ptr<Node>> children;
    };

    Node* nodeOf(FolderKey key) const;
    Node* nodeAt(const QModelIndex& index) const;
    QModelIndex indexOfNode(const Node* node) const;
    int rowOfNode(const Node* node) const;
    const std::vector<std::unique_ptr<Node>>& siblingsOf(const Node* node) const;
    std::unique_ptr<Node> makeNode(FolderKey key, Node* parent);
    void addChildren(Node& node);
    void setPictures(Node& node, bool shared);
    void setName(Node& node);
    static int insertionRow(const std::vector<std::unique_ptr<Node>>& siblings,
        const std::string& name, const Node* skip);
    void forget(const Node& node);
    QIcon iconOf(const Node& node) const;

    const RecordLibrary& m_library;
    const LibraryImageList& m_images;
    std::vector<std::unique_ptr<Node>> m_roots;
    std::unordered_map<uint32_t, Node*> m_nodes; // by packed key
    FolderKey m_cut;
    FolderKey m_dropTarget;
    std::function<void(FolderKey, const QString&)> m_renameHandler;
};
