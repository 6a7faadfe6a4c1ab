#pragma once

#include "library/foldernameindex.h"
#include "library/recordsearchindex.h"
#include "records/recordcollection.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// How unique names are formed when a name is taken in a folder; each style tries its candidates
// in order until one is free.
enum class NameStyle {
    newFolder, // "新しいフォルダ", then "新しいフォルダ(%d)" from 2 (the base is not used)
    newRecord, // "新しい棋譜", then "新しい棋譜(%d)" from 2 (the base is not used)
    copy, // the base, then "コピー～%s", then "コピー(%d)～%s" from 2
    numbered, // the base, then "%s(%d)" from 2
};

// Records and folders below one folder, the folder itself not counted.
struct SubtreeCounts {
    int folders = 0;
    int records = 0;
    // folders × 65536 + records, each count carried in 16 bits.
    int32_t packed() const;
};

// One collection of the library with the operations on its tree. It owns the collection's data
// and keeps, beside it, an index of the names in every folder (FolderNameIndex), so that testing a
// name never scans a folder. Every change of a folder or record name, parent or folder goes through
// this class; the data is readable by everyone. Indices stay valid for the whole run: a removed
// folder keeps its entry with parent −1, a detached record its slot with folder −1 until an added
// record takes it. Indices passed in are expected to come from the model and are not checked.
class CollectionTree {
public:
    // Record folders are 16-bit in records and files.
    static constexpr int kMaxFolders = 32767;

    // An empty collection: no folders, no records, the player names holding "不明".
    CollectionTree();
    CollectionTree(const CollectionTree&) = delete;
    CollectionTree& operator=(const CollectionTree&) = delete;

    // Takes over loaded data (which has its root as folder 0, or no folders at all); the display
    // name stays.
    void adopt(RecordCollection data);

    const RecordCollection& data() const { return m_data; }
    const std::string& displayName() const { return m_data.displayName; }
    void setDisplayName(std::string name) { m_data.displayName = std::move(name); }
    int folderCount() const { return static_cast<int>(m_data.folders.size()); }
    int slotCount() const { return static_cast<int>(m_data.records.size()); }
    const RecordFolder& folder(int index) const { return m_data.folders[index]; }
    const GameRecord& record(int slot) const { return m_data.records[slot]; }
    // A live folder is the root or hangs from a live parent (parent 0 or more).
    bool folderIsLive(int index) const;
    bool recordIsLive(int slot) const;
    int sharedCount() const { return m_data.sharedCount; }
    // Grows whenever a record slot is filled, changed or freed, or the records are replaced
    // whole: an index made from the records is current while this number is what it was then.
    uint64_t recordChanges() const { return m_recordChanges; }

    // For changing a record's fields in place (the editor). Its name and folder must be changed
    // only through renameRecord, addRecord and detachRecord.
    GameRecord& recordForEdit(int slot)
    {
        m_searchIndexStale = true;
        ++m_recordChanges;
        return m_data.records[slot];
    }
    // Player names may be added (findOrAdd) by whoever fills a record for this collection; only
    // clear() empties the table.
    PlayerNameTable& playerNames() { return m_data.names; }
    const PlayerNameTable& playerNames() const { return m_data.names; }

    // Folders.
    // Adds the root (folder 0) when the collection has no folder; returns 0.
    int ensureRoot(std::string name, int32_t created);
    // Appended to the folder table and to the end of the parent's children, share fields empty,
    // deleted at 0. −1 when the folder table is full.
    int addFolder(int parent, std::string name, int32_t created);
    // Detaches every record of the subtree and marks its folders removed (parent −1).
    void removeFolder(int index);
    void renameFolder(int index, std::string name);
    void setFolderCreated(int index, int32_t created);
    void setFolderDeletedAt(int index, int32_t deletedAt);
    // Sets the share name and comment; an empty share name clears the share. Keeps the shared
    // count.
    void setShare(int index, std::string shareName, std::string shareComment);
    void clearShare(int index);
    // Clears the share of the folder and of every folder below it.
    void clearShareSubtree(int index);
    // Changes only the share comment (the network computers' descriptions).
    void setShareComment(int index, std::string comment);

    // The first child folder with exactly that name, or −1.
    int findChild(int index, std::string_view name) const;
    // True when a child folder or a record of the folder has exactly that name.
    bool nameTaken(int index, std::string_view name) const;
    // The first candidate of the style not taken in the folder.
    std::string uniqueName(int index, std::string_view base, NameStyle style) const;
    // 0 for the root, 1 for a folder directly below it, and so on.
    int depth(int index) const;
    // True when ancestor is the folder itself or one of the folders above it.
    bool isAncestor(int ancestor, int index) const;
    // "\" and each folder name from the top down followed by "\": \root\A\B\, or \A\B\ when the
    // root is skipped.
    std::string path(int index, bool skipRoot) const;
    // The first-level folder above the folder (or the folder itself at depth 1) and the rest of
    // the path (for B inside A: A and \B\); none for the root.
    std::optional<std::pair<std::string, std::string>> splitPath(int index) const;
    SubtreeCounts subtreeCounts(int index) const;

    // Records.
    // Into the first free slot, else appended; the record's folder is set and the slot appended to
    // the folder's records.
    int addRecord(int folder, GameRecord record);
    // Makes room for about that many more records (a large import, a long listing), so that adding
    // them does not move the record table and the name index again and again; free slots count.
    void reserveRecords(int extra);
    // Takes the record out of its folder; the slot becomes free.
    void detachRecord(int slot);
    void renameRecord(int slot, std::string name);

    // A copy of the record added to a folder of target (which may be this collection), with its
    // players translated by name when the collections differ. newName replaces the record's name.
    int copyRecord(int slot, CollectionTree& target, int targetFolder,
        std::optional<std::string> newName = std::nullopt);
    // A copy of the folder with its records and, recursively, its child folders, under
    // targetParent of target: the source's name (or newName) and created time, no share, deleted
    // at 0. The new folder's index, or −1 (and nothing added) when target's folder table cannot
    // hold the whole subtree.
    int copyFolder(int index, CollectionTree& target, int targetParent,
        std::optional<std::string> newName = std::nullopt);

    // Detaches the root's records and removes every folder below the root, then empties the
    // record table and the player names (leaving "不明"). The root keeps its name.
    void clear();

    // The live records matching the criteria, in table order: what searchRecords gives, through a
    // compact index of the searched fields that is rebuilt only after a load, a clear or an edit
    // in place, and kept in step by adding and detaching records.
    std::vector<int> search(const SearchCriteria& criteria) const;

    // Detaches records in a batch: each record leaves the model at once (its slot becomes free),
    // but the folders' record lists are compacted only by finishDetaching, so that detaching many
    // records of one large folder stays linear.
    void detachRecordDeferred(int slot);
    void finishDetaching();

private:
    // A name left the folder: its hints may no longer hold.
    void forgetHints(int folder);
    void rebuildIndex();
    int subtreeFolderCount(int index) const;
    void detachAll(int folder);
    int copyFolderInto(int index, CollectionTree& target, int targetParent,
        std::optional<std::string> newName, std::vector<int>& playerMap);
    int copyRecordInto(int slot, CollectionTree& target, int targetFolder,
        std::optional<std::string> newName, std::vector<int>& playerMap);

    RecordCollection m_data;
    FolderNameIndex m_names { m_data };
    std::set<int> m_freeSlots;
    // Per folder, per style and base: every numbered candidate below this number is taken. Any
    // name leaving the folder forgets the folder's hints, so the search gives what a search from
    // 2 would give.
    mutable std::unordered_map<int, std::unordered_map<std::string, int>> m_hints;
    void updateSearchIndex(int slot);

    mutable RecordSearchIndex m_searchIndex;
    mutable bool m_searchIndexStale = true;
    uint64_t m_recordChanges = 0;
    // Folder → slots detached but still in its record list.
    std::unordered_map<int, std::unordered_multiset<int>> m_pendingDetach;
};
