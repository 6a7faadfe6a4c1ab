#pragma once

#include "posixsocketport.h"

#include "net/connectioneventqueue.h"
#include "net/serverconnection.h"
#include "net/stringlist.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Many protocol-core connections to one server, driven by one epoll loop: the clients of the
// load generator. Every received message goes to onMessage; LOGINOK and ALLUSER also mark the
// client as logged in.
class ClientPool {
public:
    ClientPool(std::string host, std::uint16_t port);
    ~ClientPool();
    ClientPool(const ClientPool&) = delete;
    ClientPool& operator=(const ClientPool&) = delete;

    // Opens n more connections. False with a message when one cannot be opened.
    bool connect(size_t n, std::string& error);
    size_t size() const { return m_clients.size(); }

    void send(size_t client, const StringList& message);
    // Sends LOGIN (name and password "pw-" + name) for clients [first, last).
    void login(size_t first, size_t last, const std::string& prefix);
    bool loggedIn(size_t client) const { return m_clients[client].loggedIn; }
    size_t loggedInCount() const { return m_loggedIn; }
    size_t closedCount() const { return m_closed; }
    static std::string userName(const std::string& prefix, size_t client);
    // The k-th of a run of loopback addresses 127.BLOCK.x.y (250 per /24, none ending in 0).
    static std::string loopbackSource(int block, size_t k);

    // Runs the loop until done() holds (true) or the timeout passes (false). between() runs
    // between waits, at least every few milliseconds.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout,
        const std::function<void()>& between = {});

    std::function<void(size_t client, const StringList& message)> onMessage;
    // Local addresses to connect from, taken in turn (empty: the system's choice).
    std::vector<std::string> sources;

private:
    struct Client {
        std::unique_ptr<ServerConnection> connection;
        PosixSocketPort* port = nullptr;
        bool loggedIn = false;
        bool closed = false;
        bool wantsWrite = false;
        bool registered = false;
    };

    void handleReadable(size_t index);
    void handleWritable(size_t index);
    void watch(size_t index, bool write);
    void markClosed(Client& c);

    std::string m_host;
    std::uint16_t m_port;
    int m_epoll = -1;
    ConnectionEventQueue m_events;
    std::vector<Client> m_clients;
    size_t m_loggedIn = 0;
    size_t m_closed = 0;
};
