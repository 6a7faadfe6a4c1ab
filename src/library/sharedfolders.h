#pragma once

#include "net/notices.h"
#include "net/stringlist.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class LibraryNoticeSink;
class LibraryOperations;
class LibraryViewObserver;
class RecordLibrary;

// A listing request for one folder of the network computers: the user to ask and the path below
// that user's computer ("\" for the list of shares).
struct ListingRequest {
    std::string user;
    std::string path;

    friend bool operator==(const ListingRequest&, const ListingRequest&) = default;
};

class DirApplication;

// The network computers collection as the server's user messages shape it, and the exchange of
// shared-folder listings with other users: answering their GETDIR from the own collection's
// shares and applying the DIR answers they send back. Folder and record changes go through the
// library operations, so the views and open windows follow.
class SharedFolderExchange {
public:
    // A listing older than this many seconds is asked for again when its folder is shown.
    static constexpr int32_t listingLifetime = 300;

    SharedFolderExchange(RecordLibrary& library, LibraryOperations& operations,
        LibraryViewObserver& views, LibraryNoticeSink& notices);
    ~SharedFolderExchange();

    // ALLUSER: the collection is rebuilt from scratch: the news folder, then one computer per
    // user in the list's order.
    void applyUserList(const std::vector<UserEntry>& users);
    // LOGIN: one more computer (even when one of that name exists).
    void userLoggedIn(std::string_view user, int32_t loginTime);
    // LOGOUT: the first computer of that name goes, with everything below it.
    void userLoggedOut(std::string_view user);
    // MODCOMMENT: the first computer of that name gets the description.
    void commentChanged(std::string_view user, std::string comment);
    // Disconnect: the collection empties.
    void clear();

    // When the folder's last listing was applied (seconds since 1970), 0 when never.
    int32_t listedAt(int folder) const;
    // The request that lists the folder: none for the collection root, the news folder and
    // everything inside it.
    std::optional<ListingRequest> listingRequest(int folder) const;
    // Whether showing the folder at now asks for its listing: a request exists and its listing is
    // more than listingLifetime seconds old.
    bool listingDue(int folder, int32_t now) const;

    // The DIR answer to a GETDIR as delivered (item 1 the user asking, item 3 the path). For "\"
    // the shares of the own collection in folder-table order; for "\share\" the share's own
    // records. Sub-folder paths and paths without a share name are answered with no entries:
    // only what the user shared is ever sent.
    StringList answerGetDir(const StringList& request) const;

    // Starts applying a DIR as delivered (item 1 the user who answered, item 3 the path, then the
    // entries): the folder is found or made, and a share list is applied at once. A share's
    // listing is applied by the returned application, a slice at a time: the share's records go,
    // then the entries come in. Null when the message names no folder that may be listed.
    std::unique_ptr<DirApplication> beginDir(StringList message, int32_t now);

private:
    friend class DirApplication;
    void applyShareList(int computer, const StringList& message);
    void removeRecords(int folder);
    // Takes out the folder's last record, telling the open windows.
    void removeLastRecord(int folder);
    // Reloads the list when it shows the folder.
    void reloadIfShown(int folder);

    RecordLibrary& m_library;
    LibraryOperations& m_operations;
    LibraryViewObserver& m_views;
    LibraryNoticeSink& m_notices;
    std::unordered_map<int, int32_t> m_listedAt;
};

// The listing of one share from a DIR, applied over as many slices as it takes, so that a long
// listing never holds up the window for long: first the records the share holds go, last to
// first, then a record is added for each entry.
class DirApplication {
public:
    DirApplication(SharedFolderExchange& exchange, int folder, StringList message);

    // Works until all is done or the budget is spent; true when finished. The list follows when it
    // shows the folder: it is reloaded after each slice that took records out, and once the last
    // entry is in.
    bool run(std::chrono::microseconds budget);
    bool finished() const { return m_toRemove == 0 && m_next >= m_message.count(); }
    int folder() const { return m_folder; }
    int32_t entriesAdded() const { return m_added; }

private:
    using Clock = std::chrono::steady_clock;
    // Takes records out until none is left to take or the deadline passes.
    void removeOld(Clock::time_point deadline);
    // Adds entries until all are in or the deadline passes.
    void addEntries(Clock::time_point deadline);

    SharedFolderExchange& m_exchange;
    int m_folder;
    StringList m_message;
    // The records the share held when the listing came, still to take out (from its end).
    size_t m_toRemove;
    int32_t m_next;
    int32_t m_added = 0;
};
