#pragma once

#include "server/accountloginchecker.h"
#include "server/accountstore.h"
#include "server/serverclock.h"
#include "server/serverlog.h"
#include "server/serveroptions.h"
#include "server/sharingserver.h"
#include "server/storerunner.h"
#include "server/tcpserver.h"

#include <asio/io_context.hpp>
#include <asio/signal_set.hpp>
#include <asio/steady_timer.hpp>

#include <memory>
#include <optional>
#include <string>

// One running server: the event loop, the account database, the protocol handling, the network
// side and the periodic sweep (login timeouts, removed accounts), put together from the
// command-line options.
class ServerRuntime {
public:
    // The clock defaults to the system's; tests pass their own.
    ServerRuntime(ServerOptions options, ServerLog& log, const ServerClock* clock = nullptr);
    ~ServerRuntime();
    ServerRuntime(const ServerRuntime&) = delete;
    ServerRuntime& operator=(const ServerRuntime&) = delete;

    // Opens the database and both ports. False with a message on failure.
    bool start(std::string& error);
    // Runs the event loop until stop() or, with handleSignals, SIGTERM or SIGINT.
    void run(bool handleSignals);
    // Ends run() from any thread: stops listening and closes every connection.
    void stop();

    std::uint16_t mainPort() const { return m_tcp ? m_tcp->mainPort() : 0; }
    std::uint16_t presencePort() const { return m_tcp ? m_tcp->presencePort() : 0; }

private:
    void armSweep();
    void shutDown();

    ServerOptions m_options;
    ServerLog& m_log;
    SystemClock m_systemClock;
    const ServerClock& m_clock;
    asio::io_context m_io;
    AccountStore m_store;
    std::unique_ptr<StoreRunner> m_storeRunner;
    std::unique_ptr<AccountLoginChecker> m_checker;
    std::unique_ptr<SharingServer> m_sharing;
    std::unique_ptr<TcpServer> m_tcp;
    asio::steady_timer m_sweep;
    int m_sweeps = 0;
    std::optional<asio::signal_set> m_signals;
};
