#pragma once

#include "net/commanddispatcher.h"
#include "net/connectioneventqueue.h"
#include "net/serverconnection.h"
#include "net/socketport.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

struct Notice;

// Where the sharing server listens: logins and version checks on the main port, presence on the
// other.
struct ServerEndpoint {
    std::string host = "localhost";
    uint16_t mainPort = 9292;
    uint16_t presencePort = 9293;
};

// True when more than interval milliseconds lie between since and now on the millisecond tick
// counter. The difference is unsigned, so the test survives the counter's wrap after 49.7 days.
constexpr bool tickIntervalPassed(uint32_t now, uint32_t since, uint32_t interval)
{
    return static_cast<uint32_t>(now - since) > interval;
}

// What the session tells the program around it.
class NetworkSessionHost {
public:
    // Broadcasts a notice to the open windows and the frame; returns how many took it.
    virtual int32_t notify(const Notice& notice) = 0;
    // The main connection is gone (user command, failed connect, error, refused login, peer
    // close): the chat goes offline, windows of the network computers close, the collection
    // empties.
    virtual void mainDisconnected() = 0;
    // The version check's answer: the latest program version, and the installation number to use
    // from now on when the answer carried one.
    virtual void versionChecked(int32_t latestVersion, std::optional<int32_t> installation) = 0;

protected:
    ~NetworkSessionHost() = default;
};

// The program's three connections to the sharing server, driven by one timer:
// - the version check, opened at start-up, which asks for the latest version and the
//   installation number and then opens the presence connection;
// - the presence connection, logged in with the installation number, kept alive with HC every
//   10 minutes and reopened every 2 minutes while it is missing;
// - the main connection, opened on the user's connect with a name and password, which carries
//   every other message and is kept alive with NOP after 3 minutes of silence.
// Connection failures are silent: the host only hears that the main connection went away.
class NetworkSession {
public:
    using SocketFactory = std::function<std::unique_ptr<SocketPort>()>;
    // The millisecond tick counter (wraps after 49.7 days).
    using Clock = std::function<uint32_t()>;

    static constexpr uint32_t mainKeepAliveMs = 180000;
    static constexpr uint32_t presenceKeepAliveMs = 600000;
    static constexpr uint32_t presenceRetryMs = 120000;

    NetworkSession(
        ServerEndpoint endpoint, SocketFactory sockets, Clock clock, NetworkSessionHost& host);
    ~NetworkSession();
    NetworkSession(const NetworkSession&) = delete;
    NetworkSession& operator=(const NetworkSession&) = delete;

    const ServerEndpoint& endpoint() const { return m_endpoint; }
    // The handlers of the main connection's messages (see routeNotices); XTELL is the host's.
    CommandDispatcher& dispatcher() { return m_dispatcher; }
    // Where the connections post their events; the host takes them one at a time
    // (processNextEvent) from its own event loop.
    ConnectionEventQueue& events() { return m_events; }

    int32_t installationNumber() const { return m_installation; }
    void setInstallationNumber(int32_t number) { m_installation = number; }

    // Opens the version check connection (start-up).
    void startVersionCheck();
    // Opens the main connection to log in with name and password, unless one exists (then false
    // and nothing happens).
    bool connectMain(std::string user, std::string password);
    // Deletes the main connection and tells the host; nothing happens without one.
    void disconnect();
    bool isConnected() const { return m_main != nullptr; }
    // The name given at the last connect.
    const std::string& user() const { return m_user; }

    // Queues on the main connection when there is one, and notes the time for the keep-alive.
    void sendMain(const StringList& message);
    // The network work of every fourth timer tick: flushes, keep-alives and the presence
    // reconnect.
    void networkTick();

    // Takes one posted event and handles it; false when the queue was empty.
    bool processNextEvent();
    void handleEvent(const ConnectionEvent& event);

    // While held, received messages of the main connection wait in it (a long listing is being
    // applied over several event-loop turns); resumeDispatch hands on those that waited.
    void holdDispatch() { m_dispatchHeld = true; }
    void resumeDispatch();
    bool dispatchHeld() const { return m_dispatchHeld; }

    ServerConnection* mainConnection() const { return m_main.get(); }
    ServerConnection* versionConnection() const { return m_version.get(); }
    ServerConnection* presenceConnection() const { return m_presence.get(); }
    bool loginSent() const { return m_loginSent; }
    bool presenceLoggedIn() const { return m_presenceLoggedIn; }
    uint32_t lastSendTick() const { return m_lastSend; }
    uint32_t presenceTick() const { return m_presenceTick; }

private:
    std::unique_ptr<ServerConnection> open(uint16_t port);
    void openPresence();
    void closePresence();
    void mainEvent(const ConnectionEvent& event);
    void versionEvent(const ConnectionEvent& event);
    void presenceEvent(const ConnectionEvent& event);
    void dispatchMain();

    ServerEndpoint m_endpoint;
    SocketFactory m_sockets;
    Clock m_clock;
    NetworkSessionHost& m_host;
    ConnectionEventQueue m_events;
    CommandDispatcher m_dispatcher;
    std::unique_ptr<ServerConnection> m_main;
    std::unique_ptr<ServerConnection> m_version;
    std::unique_ptr<ServerConnection> m_presence;
    uint32_t m_lastSend = 0;
    uint32_t m_presenceTick = 0;
    bool m_loginSent = false;
    bool m_presenceLoggedIn = false;
    bool m_dispatchHeld = false;
    std::string m_user;
    std::string m_password;
    int32_t m_installation = 0;
};
