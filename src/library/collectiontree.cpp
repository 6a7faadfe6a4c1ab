#include "library/collectiontree.h"

#include "library/textformat.h"
#include "records/largepages.h"
#include "records/textlimits.h"
#include "text/texts.h"

#include <algorithm>
#include <cassert>
#include <iterator>

namespace {

// The files carry names and share texts with one-byte lengths: what does not fit there would
// come back cut at the next start, and might then clash with a sibling's name.
std::string fittedName(std::string name)
{
    const std::string_view fitted = fitName(name);
    if (fitted.size() != name.size())
        name.resize(fitted.size());
    return name;
}

} // namespace

int32_t SubtreeCounts::packed() const
{
    return static_cast<int32_t>(
        (static_cast<uint32_t>(folders & 0xFFFF) << 16) | static_cast<uint32_t>(records & 0xFFFF));
}

CollectionTree::CollectionTree() = default;

void CollectionTree::adopt(RecordCollection data)
{
    // The files carry no display name.
    data.displayName = std::move(m_data.displayName);
    m_data = std::move(data);
    rebuildIndex();
    m_searchIndexStale = true;
    ++m_recordChanges;
}

void CollectionTree::rebuildIndex()
{
    m_freeSlots.clear();
    m_hints.clear();
    m_pendingDetach.clear();
    m_names.rebuild();
    for (int slot = 0; slot < slotCount(); ++slot) {
        if (m_data.records[size_t(slot)].folder < 0)
            m_freeSlots.insert(slot);
    }
}

bool CollectionTree::folderIsLive(int index) const
{
    if (index < 0 || index >= folderCount())
        return false;
    return index == 0 || m_data.folders[size_t(index)].parent >= 0;
}

bool CollectionTree::recordIsLive(int slot) const
{
    return slot >= 0 && slot < slotCount() && m_data.records[size_t(slot)].folder >= 0;
}

void CollectionTree::forgetHints(int folder)
{
    if (!m_hints.empty())
        m_hints.erase(folder);
}

int CollectionTree::ensureRoot(std::string name, int32_t created)
{
    if (m_data.folders.empty()) {
        RecordFolder root;
        root.name = fittedName(std::move(name));
        root.created = created;
        m_data.folders.push_back(std::move(root));
    }
    return 0;
}

int CollectionTree::addFolder(int parent, std::string name, int32_t created)
{
    if (folderCount() >= kMaxFolders)
        return -1;
    RecordFolder folder;
    folder.parent = static_cast<int16_t>(parent);
    folder.name = fittedName(std::move(name));
    folder.created = created;
    const int index = folderCount();
    m_data.folders.push_back(std::move(folder));
    m_data.folders[size_t(parent)].children.push_back(index);
    m_names.addFolder(index);
    return index;
}

void CollectionTree::detachAll(int folder)
{
    RecordFolder& f = m_data.folders[size_t(folder)];
    if (!f.records.empty())
        forgetHints(folder);
    for (const int slot : f.records) {
        m_names.removeRecord(slot);
        m_data.records[size_t(slot)].folder = -1;
        m_freeSlots.insert(slot);
    }
    f.records.clear();
}

void CollectionTree::removeFolder(int index)
{
    if (index <= 0 || m_data.folders[size_t(index)].parent < 0)
        return;
    // Iterative, as a chain of folders may be as deep as the folder table is long.
    finishDetaching();
    std::vector<int> pending { index };
    while (!pending.empty()) {
        const int f = pending.back();
        pending.pop_back();
        detachAll(f);
        // A removed folder is never offered to other users again.
        clearShare(f);
        RecordFolder& folder = m_data.folders[size_t(f)];
        if (!folder.children.empty())
            forgetHints(f);
        for (const int child : folder.children) {
            m_names.removeFolder(child);
            pending.push_back(child);
        }
        folder.children.clear();
        if (f != index)
            folder.parent = -1;
    }
    RecordFolder& folder = m_data.folders[size_t(index)];
    std::vector<int>& siblings = m_data.folders[size_t(folder.parent)].children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), index));
    m_names.removeFolder(index);
    forgetHints(folder.parent);
    folder.parent = -1;
}

void CollectionTree::renameFolder(int index, std::string name)
{
    RecordFolder& folder = m_data.folders[size_t(index)];
    name = fittedName(std::move(name));
    if (folder.parent < 0) {
        folder.name = std::move(name);
        return;
    }
    m_names.removeFolder(index);
    forgetHints(folder.parent);
    folder.name = std::move(name);
    m_names.addFolder(index);
}

void CollectionTree::setFolderCreated(int index, int32_t created)
{
    m_data.folders[size_t(index)].created = created;
}

void CollectionTree::setFolderDeletedAt(int index, int32_t deletedAt)
{
    m_data.folders[size_t(index)].deletedAt = deletedAt;
}

void CollectionTree::setShare(int index, std::string shareName, std::string shareComment)
{
    RecordFolder& folder = m_data.folders[size_t(index)];
    const bool wasShared = !folder.shareName.empty();
    folder.shareName = fittedName(std::move(shareName));
    folder.shareComment = fittedName(std::move(shareComment));
    const bool shared = !folder.shareName.empty();
    m_data.sharedCount += int(shared) - int(wasShared);
}

void CollectionTree::clearShare(int index)
{
    setShare(index, {}, {});
}

void CollectionTree::clearShareSubtree(int index)
{
    std::vector<int> pending { index };
    while (!pending.empty()) {
        const int f = pending.back();
        pending.pop_back();
        clearShare(f);
        const std::vector<int>& children = m_data.folders[size_t(f)].children;
        pending.insert(pending.end(), children.begin(), children.end());
    }
}

void CollectionTree::setShareComment(int index, std::string comment)
{
    m_data.folders[size_t(index)].shareComment = fittedName(std::move(comment));
}

int CollectionTree::findChild(int index, std::string_view name) const
{
    name = fitName(name);
    if (!nameTaken(index, name))
        return -1;
    for (const int child : m_data.folders[size_t(index)].children) {
        if (m_data.folders[size_t(child)].name == name)
            return child;
    }
    return -1;
}

bool CollectionTree::nameTaken(int index, std::string_view name) const
{
    return m_names.contains(index, fitName(name));
}

std::string CollectionTree::uniqueName(int index, std::string_view base, NameStyle style) const
{
    std::string_view format;
    std::string first;
    std::string second;
    switch (style) {
    case NameStyle::newFolder:
        first = texts::newFolderName.bytes();
        format = texts::newFolderNumbered.bytes();
        base = first;
        break;
    case NameStyle::newRecord:
        first = texts::newRecordName.bytes();
        format = texts::newRecordNumbered.bytes();
        base = first;
        break;
    case NameStyle::copy:
        first = std::string(base);
        second = formatText(texts::copyName.bytes(), { base });
        format = texts::copyNumbered.bytes();
        break;
    case NameStyle::numbered:
        first = std::string(base);
        format = texts::numberedName.bytes();
        break;
    }
    first = fittedName(std::move(first));
    if (!nameTaken(index, first))
        return first;
    if (!second.empty()) {
        second = fittedName(std::move(second));
        if (!nameTaken(index, second))
            return second;
    }
    const auto candidate = [&](int number) {
        if (style == NameStyle::copy)
            return fittedName(formatText(format, { number, base }));
        if (style != NameStyle::numbered)
            return formatText(format, { number });
        // The number goes last, so a long base gives way to it; otherwise every candidate would
        // be cut back to the same name.
        const std::string suffix = formatText(format, { "", number });
        return formatText(format, { clipText(base, kMaxNameBytes - suffix.size()), number });
    };
    // Remember how far the numbered candidates are taken, so that many copies of one name do not
    // each search from 2 again. The hint key tells the styles apart by their formats.
    std::string hintKey(format);
    hintKey += '\0';
    hintKey += base;
    int number = 2;
    const auto folderHints = m_hints.find(index);
    if (folderHints != m_hints.end()) {
        if (const auto it = folderHints->second.find(hintKey); it != folderHints->second.end())
            number = it->second;
    }
    std::string name = candidate(number);
    while (nameTaken(index, name))
        name = candidate(++number);
    // A search that ended at 2 teaches nothing.
    if (number > 2)
        m_hints[index][hintKey] = number;
    return name;
}

int CollectionTree::depth(int index) const
{
    int depth = 0;
    for (int f = m_data.folders[size_t(index)].parent; f >= 0; f = m_data.folders[size_t(f)].parent)
        ++depth;
    return depth;
}

bool CollectionTree::isAncestor(int ancestor, int index) const
{
    for (int f = index; f >= 0; f = m_data.folders[size_t(f)].parent) {
        if (f == ancestor)
            return true;
    }
    return false;
}

std::string CollectionTree::path(int index, bool skipRoot) const
{
    std::vector<int> chain;
    for (int f = index; f >= 0; f = m_data.folders[size_t(f)].parent)
        chain.push_back(f);
    if (skipRoot && !chain.empty() && chain.back() == 0)
        chain.pop_back();
    std::string path = "\\";
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path += m_data.folders[size_t(*it)].name;
        path += '\\';
    }
    return path;
}

std::optional<std::pair<std::string, std::string>> CollectionTree::splitPath(int index) const
{
    if (m_data.folders[size_t(index)].parent < 0)
        return std::nullopt;
    int top = index;
    std::string rest = "\\";
    std::vector<int> below;
    while (m_data.folders[size_t(top)].parent > 0) {
        below.push_back(top);
        top = m_data.folders[size_t(top)].parent;
    }
    for (auto it = below.rbegin(); it != below.rend(); ++it) {
        rest += m_data.folders[size_t(*it)].name;
        rest += '\\';
    }
    return std::make_pair(m_data.folders[size_t(top)].name, rest);
}

SubtreeCounts CollectionTree::subtreeCounts(int index) const
{
    SubtreeCounts counts;
    std::vector<int> pending { index };
    while (!pending.empty()) {
        const RecordFolder& folder = m_data.folders[size_t(pending.back())];
        pending.pop_back();
        counts.records += static_cast<int>(folder.records.size());
        counts.folders += static_cast<int>(folder.children.size());
        pending.insert(pending.end(), folder.children.begin(), folder.children.end());
    }
    return counts;
}

int CollectionTree::subtreeFolderCount(int index) const
{
    return subtreeCounts(index).folders;
}

int CollectionTree::addRecord(int folder, GameRecord record)
{
    record.folder = static_cast<int16_t>(folder);
    record.name = fittedName(std::move(record.name));
    int slot;
    if (!m_freeSlots.empty()) {
        slot = *m_freeSlots.begin();
        m_freeSlots.erase(m_freeSlots.begin());
        m_data.records[size_t(slot)] = std::move(record);
    } else {
        slot = slotCount();
        m_data.records.push_back(std::move(record));
    }
    m_data.folders[size_t(folder)].records.push_back(slot);
    m_names.addRecord(slot);
    updateSearchIndex(slot);
    return slot;
}

void CollectionTree::reserveRecords(int extra)
{
    if (extra <= 0)
        return;
    m_names.reserveMore(size_t(extra));
    // Free slots are taken first: only the rest lengthens the table.
    const size_t free = m_freeSlots.size();
    if (size_t(extra) <= free)
        return;
    std::vector<GameRecord>& records = m_data.records;
    const size_t needed = records.size() + size_t(extra) - free;
    // Never less than doubling, as appending one by one would: many small imports in a row stay
    // linear.
    if (needed > records.capacity()) {
        records.reserve(std::max(needed, 2 * records.capacity()));
        adviseLargePages(records.data(), records.capacity() * sizeof(GameRecord));
    }
}

void CollectionTree::detachRecordDeferred(int slot)
{
    GameRecord& record = m_data.records[size_t(slot)];
    if (record.folder < 0)
        return;
    m_names.removeRecord(slot);
    forgetHints(record.folder);
    m_pendingDetach[record.folder].insert(slot);
    record.folder = -1;
    m_freeSlots.insert(slot);
    updateSearchIndex(slot);
}

void CollectionTree::finishDetaching()
{
    for (auto& pending : m_pendingDetach) {
        std::vector<int>& records = m_data.folders[size_t(pending.first)].records;
        std::unordered_multiset<int>& slots = pending.second;
        // Only the first occurrence of a slot is the detached one: a slot reused by a later
        // record of the same folder sits behind it.
        std::erase_if(records, [&slots](int slot) {
            const auto it = slots.find(slot);
            if (it == slots.end())
                return false;
            slots.erase(it);
            return true;
        });
    }
    m_pendingDetach.clear();
}

void CollectionTree::detachRecord(int slot)
{
    GameRecord& record = m_data.records[size_t(slot)];
    if (record.folder < 0)
        return;
    const int folder = record.folder;
    if (m_pendingDetach.count(folder) != 0) {
        detachRecordDeferred(slot);
        return;
    }
    // Sought from the end: a slot stands once in its folder's list (nothing is pending here), and
    // records mostly leave a large folder from its end, a listing being replaced last to first.
    std::vector<int>& records = m_data.folders[size_t(folder)].records;
    records.erase(std::next(std::find(records.rbegin(), records.rend(), slot)).base());
    m_names.removeRecord(slot);
    forgetHints(folder);
    record.folder = -1;
    m_freeSlots.insert(slot);
    updateSearchIndex(slot);
}

void CollectionTree::renameRecord(int slot, std::string name)
{
    GameRecord& record = m_data.records[size_t(slot)];
    name = fittedName(std::move(name));
    if (record.folder < 0) {
        record.name = std::move(name);
        return;
    }
    m_names.removeRecord(slot);
    forgetHints(record.folder);
    record.name = std::move(name);
    m_names.addRecord(slot);
}

int CollectionTree::copyRecordInto(int slot, CollectionTree& target, int targetFolder,
    std::optional<std::string> newName, std::vector<int>& playerMap)
{
    GameRecord copy = ::copyRecord(m_data.records[size_t(slot)]);
    if (newName)
        copy.name = std::move(*newName);
    if (&target != this) {
        // Players other than the unknown one are carried by name; each name is looked up once.
        for (int16_t* player : { &copy.blackPlayer, &copy.whitePlayer }) {
            const int index = *player;
            if (index <= 0 || index >= m_data.names.size()) {
                *player = 0;
                continue;
            }
            if (playerMap.size() < size_t(m_data.names.size()))
                playerMap.resize(size_t(m_data.names.size()), -1);
            int& mapped = playerMap[size_t(index)];
            if (mapped < 0)
                mapped = target.m_data.names.findOrAdd(m_data.names.name(index));
            *player = static_cast<int16_t>(mapped);
        }
    }
    return target.addRecord(targetFolder, std::move(copy));
}

int CollectionTree::copyRecord(
    int slot, CollectionTree& target, int targetFolder, std::optional<std::string> newName)
{
    std::vector<int> playerMap;
    return copyRecordInto(slot, target, targetFolder, std::move(newName), playerMap);
}

int CollectionTree::copyFolderInto(int index, CollectionTree& target, int targetParent,
    std::optional<std::string> newName, std::vector<int>& playerMap)
{
    // The whole subtree is listed first, in the order a recursive copy visits it (a folder, its
    // records, then each child in order), so that a copy placed inside its own source stays finite.
    struct Visit {
        int source;
        int parentVisit; // −1 for the top
    };
    std::vector<Visit> visits;
    std::vector<std::pair<int, int>> pending { { index, -1 } };
    while (!pending.empty()) {
        const auto [source, parentVisit] = pending.back();
        pending.pop_back();
        const int visit = static_cast<int>(visits.size());
        visits.push_back({ source, parentVisit });
        const std::vector<int>& children = m_data.folders[size_t(source)].children;
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.emplace_back(*it, visit);
    }
    if (target.folderCount() + static_cast<int>(visits.size()) > kMaxFolders)
        return -1;

    std::vector<int> created(visits.size(), -1);
    std::vector<std::vector<int>> records(visits.size());
    for (size_t i = 0; i < visits.size(); ++i)
        records[i] = m_data.folders[size_t(visits[i].source)].records;
    for (size_t i = 0; i < visits.size(); ++i) {
        // Copied out first: adding to this same collection moves its folders.
        const RecordFolder& source = m_data.folders[size_t(visits[i].source)];
        std::string name = i == 0 && newName ? std::move(*newName) : source.name;
        const int32_t sourceCreated = source.created;
        const int parent
            = visits[i].parentVisit < 0 ? targetParent : created[size_t(visits[i].parentVisit)];
        created[i] = target.addFolder(parent, std::move(name), sourceCreated);
        for (const int slot : records[i])
            copyRecordInto(slot, target, created[i], std::nullopt, playerMap);
    }
    return created[0];
}

int CollectionTree::copyFolder(
    int index, CollectionTree& target, int targetParent, std::optional<std::string> newName)
{
    std::vector<int> playerMap;
    return copyFolderInto(index, target, targetParent, std::move(newName), playerMap);
}

void CollectionTree::clear()
{
    finishDetaching();
    if (!m_data.folders.empty()) {
        detachAll(0);
        const std::vector<int> children = m_data.folders[0].children;
        for (const int child : children)
            removeFolder(child);
    }
    m_data.records.clear();
    m_data.names.clear();
    m_freeSlots.clear();
    m_pendingDetach.clear();
    m_hints.clear();
    m_names.clear();
    m_searchIndexStale = true;
    ++m_recordChanges;
}

void CollectionTree::updateSearchIndex(int slot)
{
    ++m_recordChanges;
    if (!m_searchIndexStale)
        m_searchIndex.update(m_data, slot);
}

std::vector<int> CollectionTree::search(const SearchCriteria& criteria) const
{
    if (m_searchIndexStale) {
        m_searchIndex.rebuild(m_data);
        m_searchIndexStale = false;
    }
    return m_searchIndex.search(m_data, criteria);
}
