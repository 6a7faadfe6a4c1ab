#include "library/sharedfolders.h"

#include "library/librarynoticesink.h"
#include "library/libraryoperations.h"
#include "library/libraryviewobserver.h"
#include "library/recordlibrary.h"
#include "net/outgoingmessages.h"
#include "records/recordline.h"

#include <algorithm>

namespace {

// The first item of a DIR that carries an entry.
constexpr int32_t firstEntry = 4;
// A listing reads the clock once per batch of records: taking out or adding a record takes a few
// microseconds.
constexpr int32_t recordsPerBatch = 64;

bool namesNewsFolder(std::string_view user)
{
    return user.find(' ') != std::string_view::npos;
}

} // namespace

SharedFolderExchange::SharedFolderExchange(RecordLibrary& library, LibraryOperations& operations,
    LibraryViewObserver& views, LibraryNoticeSink& notices)
    : m_library(library)
    , m_operations(operations)
    , m_views(views)
    , m_notices(notices)
{ }

SharedFolderExchange::~SharedFolderExchange() = default;

void SharedFolderExchange::applyUserList(const std::vector<UserEntry>& users)
{
    clear();
    m_operations.loadNews();
    CollectionTree& network = m_library.collection(networkCollection);
    for (const UserEntry& user : users) {
        const int folder
            = m_operations.newFolder(networkCollection, 0, user.name.str(), user.loginTime);
        if (folder >= 0)
            network.setShareComment(folder, user.comment.str());
    }
    if (m_views.shownFolder() == FolderKey { networkCollection, 0 })
        m_views.reloadList();
}

void SharedFolderExchange::userLoggedIn(std::string_view user, int32_t loginTime)
{
    m_operations.newFolder(networkCollection, 0, std::string(user), loginTime);
}

void SharedFolderExchange::userLoggedOut(std::string_view user)
{
    m_operations.deleteComputerFolder(user);
}

void SharedFolderExchange::commentChanged(std::string_view user, std::string comment)
{
    m_operations.setComputerComment(user, std::move(comment));
}

void SharedFolderExchange::clear()
{
    m_listedAt.clear();
    m_operations.clearNetworkComputers();
}

int32_t SharedFolderExchange::listedAt(int folder) const
{
    const auto found = m_listedAt.find(folder);
    return found == m_listedAt.end() ? 0 : found->second;
}

std::optional<ListingRequest> SharedFolderExchange::listingRequest(int folder) const
{
    const CollectionTree& network = m_library.collection(networkCollection);
    if (folder <= 0 || folder >= network.folderCount() || !network.folderIsLive(folder))
        return std::nullopt;
    const auto split = network.splitPath(folder);
    if (!split || split->first.empty() || namesNewsFolder(split->first))
        return std::nullopt;
    std::string path = split->second.empty() ? std::string(1, '\\') : split->second;
    if (path.size() > 1023)
        path.resize(1023);
    return ListingRequest { split->first, std::move(path) };
}

bool SharedFolderExchange::listingDue(int folder, int32_t now) const
{
    return listingRequest(folder).has_value()
        && static_cast<int64_t>(now) - listedAt(folder) > listingLifetime;
}

StringList SharedFolderExchange::answerGetDir(const StringList& request) const
{
    const std::string_view path = request.item(3).view();
    StringList answer = dirMessage(request.item(1).view(), path);
    const CollectionTree& own = m_library.collection(myRecordsCollection);
    if (path == "\\") {
        for (int i = 1; i < own.folderCount(); ++i) {
            const RecordFolder& folder = own.folder(i);
            if (folder.shareName.empty() || !own.folderIsLive(i))
                continue;
            std::string entry;
            entry.reserve(folder.shareName.size() + folder.shareComment.size() + 3);
            entry.append("1,").append(folder.shareName).append(",").append(folder.shareComment);
            answer.append(std::move(entry));
        }
        return answer;
    }
    StringList fields;
    fields.split(path, '\\');
    const std::string_view share = fields.item(1).view();
    if (share.empty())
        return answer;
    for (int32_t i = 2; i < fields.count(); ++i) {
        if (!fields.item(i).empty())
            return answer; // below a share: never shared on its own
    }
    for (int i = 1; i < own.folderCount(); ++i) {
        const RecordFolder& folder = own.folder(i);
        if (folder.shareName != share || !own.folderIsLive(i))
            continue;
        for (const int slot : folder.records) {
            if (own.recordIsLive(slot))
                answer.append(recordToLine(own.record(slot), own.playerNames()));
        }
        break;
    }
    return answer;
}

std::unique_ptr<DirApplication> SharedFolderExchange::beginDir(StringList message, int32_t now)
{
    const std::string_view user = message.item(1).view();
    // A nameless user would land on the collection root, a name with a space in the news folder.
    if (user.empty() || namesNewsFolder(user) || user.find('\\') != std::string_view::npos)
        return nullptr;
    std::string fullPath(1, '\\');
    fullPath.append(user);
    fullPath.append(message.item(3).view());
    const int folder = m_operations.ensurePath(networkCollection, 0, fullPath);
    if (folder <= 0)
        return nullptr;
    m_listedAt[folder] = now;
    if (m_library.collection(networkCollection).depth(folder) == 1) {
        removeRecords(folder);
        applyShareList(folder, message);
        return nullptr;
    }
    return std::make_unique<DirApplication>(*this, folder, std::move(message));
}

void SharedFolderExchange::removeRecords(int folder)
{
    const std::vector<int>& records
        = m_library.collection(networkCollection).folder(folder).records;
    if (records.empty())
        return;
    while (!records.empty())
        removeLastRecord(folder);
    reloadIfShown(folder);
}

void SharedFolderExchange::removeLastRecord(int folder)
{
    CollectionTree& network = m_library.collection(networkCollection);
    const int slot = network.folder(folder).records.back();
    m_notices.sendWindowNotice(WindowRecordRemoved, libraryNoticeKey(networkCollection, slot), 0);
    network.detachRecord(slot);
}

void SharedFolderExchange::reloadIfShown(int folder)
{
    if (m_views.shownFolder() == FolderKey { networkCollection, folder })
        m_views.reloadList();
}

void SharedFolderExchange::applyShareList(int computer, const StringList& message)
{
    CollectionTree& network = m_library.collection(networkCollection);
    const bool listShowsComputer
        = m_views.shownFolder() == FolderKey { networkCollection, computer };
    std::vector<std::string> listed;
    StringList fields;
    for (int32_t i = firstEntry; i < message.count(); ++i) {
        fields.split(message.item(i).view(), ',');
        const std::string name = fields.item(1).str();
        int share = network.findChild(computer, name);
        if (share < 0)
            share = m_operations.newFolder(networkCollection, computer, name, 0);
        if (share < 0)
            continue;
        network.setShareComment(share, fields.item(2).str());
        if (listShowsComputer)
            m_views.folderRowUpdated({ networkCollection, share });
        listed.push_back(name);
    }
    const std::vector<int> children = network.folder(computer).children;
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        if (!network.folderIsLive(*child))
            continue;
        const std::string& name = network.folder(*child).name;
        if (std::find(listed.begin(), listed.end(), name) == listed.end()) {
            m_listedAt.erase(*child);
            m_operations.deleteFolder(networkCollection, *child, 0, 1);
        }
    }
}

DirApplication::DirApplication(SharedFolderExchange& exchange, int folder, StringList message)
    : m_exchange(exchange)
    , m_folder(folder)
    , m_message(std::move(message))
    , m_toRemove(exchange.m_library.collection(networkCollection).folder(folder).records.size())
    , m_next(firstEntry)
{ }

bool DirApplication::run(std::chrono::microseconds budget)
{
    const Clock::time_point deadline = Clock::now() + budget;
    const bool removing = m_toRemove > 0;
    if (removing) {
        removeOld(deadline);
        if (m_toRemove > 0) {
            // The list never shows a record that is gone.
            m_exchange.reloadIfShown(m_folder);
            return false;
        }
    }
    addEntries(deadline);
    if (removing || finished())
        m_exchange.reloadIfShown(m_folder);
    return finished();
}

void DirApplication::removeOld(Clock::time_point deadline)
{
    while (m_toRemove > 0) {
        const size_t stop = m_toRemove - std::min<size_t>(m_toRemove, recordsPerBatch);
        for (; m_toRemove > stop; --m_toRemove)
            m_exchange.removeLastRecord(m_folder);
        if (Clock::now() >= deadline)
            return;
    }
}

void DirApplication::addEntries(Clock::time_point deadline)
{
    RecordLibrary& library = m_exchange.m_library;
    CollectionTree& network = library.collection(networkCollection);
    if (m_next == firstEntry)
        network.reserveRecords(m_message.count() - firstEntry);
    while (m_next < m_message.count()) {
        const int32_t stop = std::min(m_message.count(), m_next + recordsPerBatch);
        for (; m_next < stop; ++m_next) {
            GameRecord record;
            recordFromLine(m_message.item(m_next).view(), record, network.playerNames(),
                library.openingBook());
            network.addRecord(m_folder, std::move(record));
            ++m_added;
        }
        if (Clock::now() >= deadline)
            return;
    }
}
