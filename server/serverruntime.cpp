#include "server/serverruntime.h"

#include <asio/post.hpp>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <csignal>
#include <thread>

namespace {

constexpr std::chrono::milliseconds sweepPeriod { 200 };
constexpr int databaseWait = 60000; // milliseconds
// Every this many sweeps (10 s), memory freed after a burst goes back to the system.
constexpr int sweepsPerTrim = 50;

void returnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace

ServerRuntime::ServerRuntime(ServerOptions options, ServerLog& log, const ServerClock* clock)
    : m_options(std::move(options))
    , m_log(log)
    , m_clock(clock ? *clock : m_systemClock)
    , m_sweep(m_io)
{ }

ServerRuntime::~ServerRuntime()
{
    // The network side goes first, then the protocol handling it reports to, then the hashing
    // workers (joined while the loop their verdicts are posted to still exists).
    m_tcp.reset();
    m_sharing.reset();
    m_checker.reset();
    m_storeRunner.reset();
}

bool ServerRuntime::start(std::string& error)
{
    SharingServer::Settings settings;
    settings.latestVersion = m_options.latestVersion;
    settings.maxUsers = m_options.maxUsers;
    settings.loginTimeout = std::chrono::seconds(m_options.loginTimeoutSeconds);
    settings.maxMessageRate = m_options.maxMessageRate;
    settings.maxBuffered = static_cast<size_t>(m_options.maxBufferedMb) * 1024 * 1024;
    settings.maxMessageLength = static_cast<size_t>(m_options.maxMessageMb) * 1024 * 1024;
    settings.maxLoginChecks = static_cast<size_t>(m_options.maxLoginChecks);
    settings.maxLoginChecksPerAddress = static_cast<size_t>(m_options.maxLoginChecksPerAddress);
    settings.presenceTimeout = std::chrono::seconds(m_options.presenceTimeoutSeconds);
    for (const std::string& range : m_options.denied) {
        if (!settings.denied.add(range)) {
            error = "--deny: '" + range + "' is not an address range";
            return false;
        }
    }
    if (!m_store.open(m_options.databasePath)) {
        error = m_store.error();
        return false;
    }
    // The database has a thread of its own, which may wait long for a lock another process
    // (an account command) holds: nothing on the event loop waits with it.
    m_store.setBusyTimeout(databaseWait);
    m_storeRunner = std::make_unique<StoreRunner>(m_store, m_io, true);
    const int workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    m_checker = std::make_unique<AccountLoginChecker>(*m_storeRunner, m_io, workers);

    TcpServer::Settings network;
    network.listenAddress = m_options.listenAddress;
    network.port = m_options.port;
    network.presencePort = m_options.presencePort;
    network.maxConnections = m_options.maxConnections;
    network.maxConnectionsPerAddress = m_options.maxConnectionsPerAddress;
    // A receiver must be able to owe one whole relayed message besides its usual backlog.
    network.outputCap += settings.maxMessageLength;
    m_tcp = std::make_unique<TcpServer>(m_io, network, m_log);
    m_sharing = std::make_unique<SharingServer>(
        std::move(settings), *m_storeRunner, *m_checker, *m_tcp, m_clock, m_log);
    m_tcp->setEvents(*m_sharing);
    if (!m_tcp->start(error))
        return false;
    armSweep();
    return true;
}

void ServerRuntime::armSweep()
{
    m_sweep.expires_after(sweepPeriod);
    m_sweep.async_wait([this](std::error_code ec) {
        if (ec)
            return;
        m_sharing->expireLogins();
        m_sharing->periodicChecks();
        if (++m_sweeps % sweepsPerTrim == 0)
            returnFreedMemory();
        armSweep();
    });
}

void ServerRuntime::run(bool handleSignals)
{
    if (handleSignals) {
        m_signals.emplace(m_io, SIGTERM, SIGINT);
        m_signals->async_wait([this](std::error_code ec, int signal) {
            if (ec)
                return;
            m_log.line(signal == SIGTERM ? "SIGTERM: shutting down" : "SIGINT: shutting down");
            shutDown();
        });
    }
    m_io.run();
}

void ServerRuntime::stop()
{
    asio::post(m_io, [this] { shutDown(); });
}

void ServerRuntime::shutDown()
{
    m_sweep.cancel();
    if (m_signals)
        m_signals->cancel();
    if (m_tcp)
        m_tcp->stop();
    // Verdicts still being computed are dropped with their connections.
    m_io.stop();
}
