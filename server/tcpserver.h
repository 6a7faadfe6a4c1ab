#pragma once

#include "server/connectioncontrol.h"
#include "server/connectionevents.h"
#include "server/serverlog.h"

#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/steady_timer.hpp>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// The network side of the server on one Asio event loop: the two listening ports, the accepted
// connections, their buffered output and the connection limits. Bytes go to ConnectionEvents;
// the protocol handling answers through the ConnectionControl half.
class TcpServer final : public ConnectionControl {
public:
    struct Settings {
        std::string listenAddress; // empty: every address (IPv6 and IPv4 where possible)
        std::uint16_t port = 9292;
        std::uint16_t presencePort = 9293;
        int maxConnections = 10000;
        int maxConnectionsPerAddress = 32; // on both ports together; 0: no limit
        size_t outputCap
            = 8 * 1024 * 1024; // unsent bytes a connection may owe before it is dropped
        std::chrono::milliseconds closeGrace { 5000 }; // time a closing connection gets to drain
    };

    TcpServer(asio::io_context& io, Settings settings, ServerLog& log);
    // Where connections are reported; set before start().
    void setEvents(ConnectionEvents& events) { m_events = &events; }
    ~TcpServer() override;
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    // Opens both listening ports and starts accepting. False with a message when a port cannot
    // be opened.
    bool start(std::string& error);
    // Stops listening and closes every connection at once, without reporting them.
    void stop();

    std::uint16_t mainPort() const { return m_ports[0]; }
    std::uint16_t presencePort() const { return m_ports[1]; }
    size_t connectionCount() const { return m_connections.size(); }

    void send(ConnectionId id, std::string_view bytes) override;
    void close(ConnectionId id) override;
    void pauseReading(ConnectionId id, bool paused) override;
    void abort(ConnectionId id) override;
    size_t pendingOutput(ConnectionId id) const override;
    size_t pendingOutputTotal() const override { return m_pendingTotal; }
    void watchOutput(ConnectionId id, size_t bytes) override;

private:
    struct Connection;
    using ConnectionPtr = std::shared_ptr<Connection>;

    bool openAcceptor(int index, std::uint16_t port, std::string& error);
    void accept(int index);
    void admit(int index, asio::ip::tcp::socket socket);
    void armRead(const ConnectionPtr& c);
    void readReady(const ConnectionPtr& c);
    void scheduleFlush(const ConnectionPtr& c);
    void flushAll();
    void write(const ConnectionPtr& c);
    void finishIfDrained(const ConnectionPtr& c);
    // Keeps the pending-output total and reports a watched connection that has drained.
    void outputChanged(const ConnectionPtr& c);
    void drop(const ConnectionPtr& c, const char* why);
    ConnectionPtr find(ConnectionId id) const;

    asio::io_context& m_io;
    Settings m_settings;
    ConnectionEvents* m_events = nullptr;
    ServerLog& m_log;
    std::array<std::unique_ptr<asio::ip::tcp::acceptor>, 2> m_acceptors;
    std::array<std::uint16_t, 2> m_ports { 0, 0 };
    asio::steady_timer m_acceptRetry;
    std::unordered_map<ConnectionId, ConnectionPtr> m_connections;
    // Open connections per client address; addresses at their limit and already logged as such.
    std::unordered_map<std::string, int> m_perAddress;
    std::unordered_map<std::string, bool> m_limitLogged;
    size_t m_pendingTotal = 0;
    std::vector<ConnectionPtr> m_dirty; // connections with output waiting for the next flush
    bool m_flushScheduled = false;
    ConnectionId m_lastId = 0;
    // One read buffer for all connections: reads wait for readiness first and then copy out at
    // once, so idle connections hold no buffer of their own.
    std::vector<char> m_readBuffer;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
