#pragma once

#include "server/accountstore.h"
#include "server/addressfilter.h"
#include "server/addressquota.h"
#include "server/connectioncontrol.h"
#include "server/connectionevents.h"
#include "server/loginbackoff.h"
#include "server/loginchecker.h"
#include "server/messageinput.h"
#include "server/serverclock.h"
#include "server/serverlog.h"
#include "server/storerunner.h"
#include "server/tokenbucket.h"

#include "net/stringlist.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The rules of the sharing server, without sockets: logins and the user list, relaying chat,
// profiles, pings and shared-folder requests between users, version checks and installation
// numbers, and presence. It is fed bytes per connection and answers through ConnectionControl.
class SharingServer final : public ConnectionEvents {
public:
    struct Settings {
        int latestVersion = 30;
        int maxUsers = 0; // 0: no limit
        std::chrono::milliseconds loginTimeout { 30000 };
        // Logins from these addresses are refused; presence connections from them are closed.
        AddressFilter denied;
        // A description is shown in a one-line field and repeated in every user list.
        size_t maxCommentLength = 256;
        // A broadcast goes to everyone, so it is held to chat size; so is a private message.
        size_t maxBroadcastLength = 16 * 1024;
        size_t maxTellLength = 16 * 1024;
        // A changed description is passed on at most once per interval and user; a change made
        // meanwhile is passed on (the latest one only) when the interval is over.
        std::chrono::milliseconds commentInterval { 1000 };
        // Pings a user may send per second, in bursts of pingBurst; beyond it PINGNG. 0: no limit.
        int maxPingRate = 1;
        int pingBurst = 5;
        // Pings a user has not answered yet; older ones are forgotten first.
        size_t maxPendingPings = 32;
        // How often the accounts of logged-in users are looked up, so that a user removed from
        // the database while logged in is put off line.
        std::chrono::milliseconds accountCheckPeriod { 5000 };
        // Broadcasts and private messages a user may send per second on average, in bursts of
        // twice that; beyond it they are refused. 0: no limit.
        int maxMessageRate = 10;
        // New installation numbers handed out to one client address within the window; beyond
        // it VERSION answers with the number 0 and the database is left alone. 0: no limit.
        size_t maxNewInstallations = 10;
        // The same for all addresses of one network (/24 for IPv4, /64 for IPv6).
        size_t maxNewInstallationsPerNetwork = 30;
        std::chrono::milliseconds newInstallationWindow { std::chrono::hours(1) };
        // A presence connection that sends nothing for this long is closed (the program sends
        // HC every 10 minutes).
        std::chrono::milliseconds presenceTimeout { std::chrono::minutes(20) };
        // Connections logged one by one per address and minute; beyond it one line says so.
        size_t loggedConnectsPerMinute = 20;
        // Password checks in flight, per client address and in all; a LOGIN beyond either is
        // refused at once with LOGINNG 7. 0: no limit.
        size_t maxLoginChecks = 16;
        size_t maxLoginChecksPerAddress = 4;
        // Waits after failed logins, per account and per client address.
        LoginBackoff::Settings accountBackoff { 3, std::chrono::seconds(1),
            std::chrono::seconds(60), std::chrono::hours(1) };
        LoginBackoff::Settings addressBackoff { 10, std::chrono::seconds(1),
            std::chrono::minutes(10), std::chrono::hours(1) };
        // When a private message or shared-folder answer leaves its receiver with more than
        // relayBacklogHigh bytes unsent, nothing more is read from the sender until the
        // receiver's backlog is down to relayBacklogLow. A receiver that does not get there
        // within stallTimeout does not read, and is dropped.
        size_t relayBacklogHigh = 2 * 1024 * 1024;
        size_t relayBacklogLow = 256 * 1024;
        std::chrono::milliseconds stallTimeout { 30000 };
        // Buffered input and output of all connections together; beyond it the heaviest
        // connections are dropped until the total is below again. 0: no limit.
        size_t maxBuffered = size_t(512) * 1024 * 1024;
        // One message's cost, each line counted with the reader's bookkeeping; a sender of a
        // longer one is dropped.
        size_t maxMessageLength = kMaxMessageLength;
    };

    // Refusal reasons sent with LOGINNG; the desktop program shows a text for each.
    enum LoginRefusal : int {
        UnknownUser = 5,
        WrongPassword = 6,
        OtherRefusal = 7,
        AddressDenied = 8,
        LoginTimedOut = 9,
        TooManyUsers = 10,
    };
    // Codes sent with BCASTNG and TELLNG.
    enum MessageRefusal : int {
        TooLongOrAbsent = 1, // a broadcast too long, or a private message to nobody on line
        TooFast = 2,
    };

    SharingServer(Settings settings, StoreRunner& store, LoginChecker& checker,
        ConnectionControl& control, const ServerClock& clock, ServerLog& log);

    void connectionOpened(ConnectionId id, PortKind port, const std::string& address) override;
    void bytesReceived(ConnectionId id, std::string_view bytes) override;
    void connectionClosed(ConnectionId id) override;
    void outputDrained(ConnectionId id) override;

    // Refuses (LOGINNG 9) and closes the connections that sent no LOGIN within the timeout.
    // One whose LOGIN is still being checked gets its verdict first. Called periodically.
    void expireLogins();
    // Passes on delayed descriptions and drops receivers that stopped reading; once per account
    // check period, ends the sessions of users whose account is gone, closes silent presence
    // connections and forgets old counts. Called periodically (more often than the period).
    void periodicChecks();

    size_t onlineCount() const { return m_sessions.size(); }
    size_t connectionCount() const { return m_connections.size(); }

private:
    enum class State {
        Fresh, // connected, not logged in
        Checking, // password being checked; its later messages wait
        LoggedIn, // a user's session (main port) or a presence login (presence port)
        Closing, // asked to close; nothing more is read or sent
    };
    struct PendingPing {
        std::uint64_t token;
        ConnectionId asker;
        std::string askerName;
        std::string tick;
        std::chrono::milliseconds sentAt;
    };
    struct Connection {
        ConnectionId id = 0;
        PortKind port = PortKind::Main;
        std::string address;
        State state = State::Fresh;
        bool processing = false;
        bool logged = false; // its connect was logged, so its disconnect is too
        bool readPaused = false; // as last asked of the network side
        bool storeBusy = false; // a database answer (VERSION) is awaited; later messages wait
        std::chrono::milliseconds arrivedAt {};
        MessageInput input;
        std::int64_t installation = -1; // handed out on this connection, reused on a repeat
        std::string name;
        std::string comment;
        std::int64_t loginTime = 0;
        std::chrono::milliseconds lastActive {};
        std::chrono::milliseconds lastReceived {}; // presence: anything at all
        size_t heldInput = 0; // as last added to the input total
        std::vector<PendingPing> pings; // pings sent to this user, waiting for its PONG
        TokenBucket messages; // the user's broadcasts and private messages
        bool throttled = false; // the last message was refused for its rate
        TokenBucket pingAllowance;
        std::chrono::milliseconds commentSentAt {}; // last description passed on
        bool commentPending = false; // a newer description waits for its interval
        // Back-pressure: the receiver this sender waits for, and the senders waiting for this
        // receiver with the time its backlog began.
        ConnectionId waitingFor = 0;
        std::vector<ConnectionId> waitingSenders;
        std::chrono::milliseconds backlogSince {};
    };

    Connection* find(ConnectionId id);
    // Whether the connection's next messages must wait (a check, a database answer, a receiver).
    static bool holdsBack(const Connection& c);
    void updatePause(Connection& c);
    void process(Connection& c);
    void handleMain(Connection& c, const StringList& message);
    void handlePresence(Connection& c, const StringList& message);
    void handleLogin(Connection& c, const StringList& message);
    // False (and the LOGIN refused) when failed logins or busy checks forbid checking it now.
    bool mayCheckLogin(Connection& c, const std::string& name);
    void loginChecked(
        ConnectionId id, const std::string& name, const std::string& address, LoginVerdict verdict);
    void countLoginResult(
        const std::string& name, const std::string& address, LoginVerdict verdict);
    void admit(Connection& c, const std::string& name);
    void refuse(Connection& c, int reason, std::string_view name, const char* why);
    bool overdue(const Connection& c) const;
    void answerVersion(Connection& c, const StringList& message);
    void versionKnown(ConnectionId id, bool known, std::int64_t claimed);
    void versionAnswered(ConnectionId id, std::int64_t installation, const std::string& error);
    void sendVersion(Connection& c);
    void changeComment(Connection& c, const StringList& message);
    void passOnComment(Connection& c);
    // Counts one broadcast or private message; false when the user sends too fast.
    bool withinRate(Connection& c);
    void broadcastChat(Connection& c, const StringList& message);
    void tell(Connection& c, const StringList& message);
    void relay(Connection& c, const StringList& message);
    void profile(Connection& c, const StringList& message);
    void ping(Connection& c, const StringList& message);
    void pong(Connection& c, const StringList& message);

    // Sends a message meant for one user; holds the sender back while the receiver lags.
    void deliver(Connection& from, Connection& to, const StringList& message);
    void resumeSenders(Connection& receiver);
    void dropStalledReceivers(std::chrono::milliseconds now);
    void checkAccounts();
    void closeSilentPresence(std::chrono::milliseconds now);
    // Keeps the input total and sheds the heaviest connections while over the memory bound.
    void noteInput(Connection& c);
    void enforceMemoryBound();

    Connection* online(std::string_view name);
    StringList userList() const;
    void send(const Connection& c, const StringList& message);
    // To every logged-in user but `except` (0: nobody is left out).
    void broadcast(const StringList& message, ConnectionId except);
    // Ends a user's session: forgets it and tells the others it left.
    void endSession(Connection& c, const char* why);
    // Asks the network side to close (after sending what is queued) and stops listening to it.
    void closeConnection(Connection& c);

    Settings m_settings;
    StoreRunner& m_store;
    LoginChecker& m_checker;
    ConnectionControl& m_control;
    const ServerClock& m_clock;
    ServerLog& m_log;
    std::unordered_map<ConnectionId, Connection> m_connections;
    std::map<ConnectionId, Connection*> m_sessions; // logged-in users, in connection order
    std::unordered_map<std::string, ConnectionId> m_byName;
    // Connections in order of arrival with their arrival time, for the login timeout.
    std::deque<std::pair<ConnectionId, std::chrono::milliseconds>> m_arrivals;
    std::uint64_t m_lastPingToken = 0;
    std::chrono::milliseconds m_nextAccountCheck {};
    AddressQuota m_newInstallations;
    AddressQuota m_newInstallationsByNetwork;
    AddressQuota m_connectLines;
    std::unordered_set<std::string> m_unloggedAddresses;
    LoginBackoff m_accountFailures;
    LoginBackoff m_addressFailures;
    size_t m_checksInFlight = 0;
    std::unordered_map<std::string, size_t> m_checksByAddress;
    std::chrono::milliseconds m_busyLoggedAt { -3600000 };
    size_t m_busyRefusals = 0;
    bool m_accountCheckRunning = false;
    size_t m_inputTotal = 0;
    std::vector<ConnectionId> m_laggingReceivers; // receivers with senders waiting for them
    std::vector<ConnectionId> m_pendingComments; // users with a description waiting
};
