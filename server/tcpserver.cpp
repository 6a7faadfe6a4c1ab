#include "server/tcpserver.h"

#include <asio/ip/v6_only.hpp>
#include <asio/post.hpp>
#include <asio/write.hpp>

#include <algorithm>

using asio::ip::tcp;

struct TcpServer::Connection {
    Connection(ConnectionId id, tcp::socket socket, PortKind port)
        : id(id)
        , socket(std::move(socket))
        , port(port)
    { }
    ConnectionId id;
    tcp::socket socket;
    PortKind port;
    std::string address;
    std::string queued; // bytes not yet handed to the socket
    std::string writing; // bytes of the write in flight
    bool writeInFlight = false;
    bool readArmed = false;
    bool paused = false;
    bool closing = false; // close once drained
    bool dirty = false;
    bool gone = false; // socket closed, removed from the table
    size_t counted = 0; // pending output as last added to the total
    size_t watchBelow = 0;
    bool watching = false;
    size_t pending() const { return queued.size() + writing.size(); }
    std::unique_ptr<asio::steady_timer> grace;
};

namespace {

constexpr size_t readChunk = 64 * 1024;
// Reads per readiness before other connections get their turn.
constexpr int readsPerTurn = 4;

std::string addressText(const tcp::endpoint& endpoint)
{
    asio::ip::address address = endpoint.address();
    if (address.is_v6() && address.to_v6().is_v4_mapped())
        address = asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6());
    return address.to_string();
}

// A drained buffer gives its memory back: most connections are idle most of the time, and
// ten thousand of them must not each keep what their busiest moment needed.
void release(std::string& buffer)
{
    std::string().swap(buffer);
}

} // namespace

TcpServer::TcpServer(asio::io_context& io, Settings settings, ServerLog& log)
    : m_io(io)
    , m_settings(std::move(settings))
    , m_log(log)
    , m_acceptRetry(io)
    , m_readBuffer(readChunk)
{ }

TcpServer::~TcpServer()
{
    *m_alive = false;
    stop();
}

bool TcpServer::openAcceptor(int index, std::uint16_t port, std::string& error)
{
    std::error_code ec;
    auto acceptor = std::make_unique<tcp::acceptor>(m_io);
    const auto tryOpen = [&](const asio::ip::address& address, bool dualStack) {
        ec.clear();
        if (acceptor->is_open())
            acceptor->close();
        const tcp::endpoint endpoint(address, port);
        acceptor->open(endpoint.protocol(), ec);
        if (!ec)
            acceptor->set_option(tcp::acceptor::reuse_address(true), ec);
        if (!ec && dualStack)
            acceptor->set_option(asio::ip::v6_only(false), ec);
        if (!ec)
            acceptor->bind(endpoint, ec);
        if (!ec)
            acceptor->listen(asio::socket_base::max_listen_connections, ec);
        return !ec;
    };
    bool ok;
    if (m_settings.listenAddress.empty()) {
        ok = tryOpen(asio::ip::address_v6::any(), true)
            || tryOpen(asio::ip::address_v4::any(), false);
    } else {
        const asio::ip::address address = asio::ip::make_address(m_settings.listenAddress, ec);
        if (ec) {
            error = "--listen: '" + m_settings.listenAddress + "' is not an address";
            return false;
        }
        ok = tryOpen(address, false);
    }
    if (!ok) {
        error = "cannot listen on port " + std::to_string(port) + ": " + ec.message();
        return false;
    }
    m_ports[index] = acceptor->local_endpoint().port();
    m_acceptors[index] = std::move(acceptor);
    return true;
}

bool TcpServer::start(std::string& error)
{
    if (!m_events) {
        error = "no protocol handling attached";
        return false;
    }
    if (!openAcceptor(0, m_settings.port, error)
        || !openAcceptor(1, m_settings.presencePort, error)) {
        stop();
        return false;
    }
    m_log.line("listening on port " + std::to_string(m_ports[0]) + ", presence port "
        + std::to_string(m_ports[1]));
    accept(0);
    accept(1);
    return true;
}

void TcpServer::stop()
{
    m_acceptRetry.cancel();
    for (auto& acceptor : m_acceptors) {
        if (acceptor) {
            std::error_code ignored;
            acceptor->close(ignored);
        }
    }
    for (auto& [id, c] : m_connections) {
        std::error_code ignored;
        c->gone = true;
        c->socket.close(ignored);
        if (c->grace)
            c->grace->cancel();
    }
    m_connections.clear();
    m_dirty.clear();
    m_perAddress.clear();
    m_limitLogged.clear();
    m_pendingTotal = 0;
}

void TcpServer::accept(int index)
{
    tcp::acceptor* acceptor = m_acceptors[index].get();
    if (!acceptor || !acceptor->is_open())
        return;
    acceptor->async_accept([this, index, alive = std::weak_ptr<bool>(m_alive)](
                               std::error_code ec, tcp::socket socket) {
        if (alive.expired() || ec == asio::error::operation_aborted)
            return;
        if (!ec) {
            admit(index, std::move(socket));
            accept(index);
            return;
        }
        // Running out of descriptors must not turn into a busy loop: wait a little and retry.
        m_log.line("accept failed: " + ec.message());
        m_acceptRetry.expires_after(std::chrono::milliseconds(100));
        m_acceptRetry.async_wait([this, index, alive](std::error_code waitError) {
            if (!alive.expired() && !waitError)
                accept(index);
        });
    });
}

void TcpServer::admit(int index, tcp::socket socket)
{
    std::error_code ec;
    const tcp::endpoint peer = socket.remote_endpoint(ec);
    const std::string address = ec ? std::string("?") : addressText(peer);
    if (ec)
        return; // the peer is already gone
    if (m_connections.size() >= static_cast<size_t>(m_settings.maxConnections)) {
        m_log.line("refused connection from " + address + ": "
            + std::to_string(m_connections.size()) + " connections open");
        socket.close(ec);
        return;
    }
    int& fromAddress = m_perAddress[address];
    if (m_settings.maxConnectionsPerAddress > 0
        && fromAddress >= m_settings.maxConnectionsPerAddress) {
        // One line per episode: an address hammering at its limit must not flood the log.
        if (!m_limitLogged[address]) {
            m_limitLogged[address] = true;
            m_log.line("refusing connections from " + address + ": " + std::to_string(fromAddress)
                + " open from this address");
        }
        socket.close(ec);
        return;
    }
    ++fromAddress;
    socket.non_blocking(true, ec);
    socket.set_option(tcp::no_delay(true), ec);
    socket.set_option(asio::socket_base::keep_alive(true), ec);
    const PortKind port = index == 0 ? PortKind::Main : PortKind::Presence;
    auto c = std::make_shared<Connection>(++m_lastId, std::move(socket), port);
    c->address = address;
    m_connections.emplace(c->id, c);
    m_events->connectionOpened(c->id, port, address);
    armRead(c);
}

void TcpServer::armRead(const ConnectionPtr& c)
{
    if (c->gone || c->closing || c->paused || c->readArmed)
        return;
    c->readArmed = true;
    c->socket.async_wait(tcp::socket::wait_read,
        [this, c, alive = std::weak_ptr<bool>(m_alive)](std::error_code ec) {
            if (alive.expired())
                return;
            c->readArmed = false;
            if (c->gone || ec == asio::error::operation_aborted)
                return;
            if (ec) {
                drop(c, nullptr);
                return;
            }
            readReady(c);
        });
}

void TcpServer::readReady(const ConnectionPtr& c)
{
    for (int turn = 0; turn < readsPerTurn; ++turn) {
        if (c->gone || c->closing || c->paused)
            return;
        std::error_code ec;
        const size_t n = c->socket.read_some(asio::buffer(m_readBuffer), ec);
        if (ec == asio::error::would_block || ec == asio::error::try_again)
            break;
        if (ec) {
            // End of stream is the normal way for a client to leave.
            drop(c, ec == asio::error::eof ? nullptr : "read error");
            return;
        }
        m_events->bytesReceived(c->id, std::string_view(m_readBuffer.data(), n));
        if (n < m_readBuffer.size())
            break;
    }
    armRead(c);
}

void TcpServer::send(ConnectionId id, std::string_view bytes)
{
    const ConnectionPtr c = find(id);
    if (!c || c->closing || bytes.empty())
        return;
    // The cap is on what is still owed when more arrives, so one large message (the user list
    // of a big server) always goes to a reader that keeps up.
    if (c->queued.size() + c->writing.size() > m_settings.outputCap) {
        drop(c, "output backlog over the limit (the peer does not read)");
        return;
    }
    c->queued.append(bytes);
    outputChanged(c);
    scheduleFlush(c);
}

void TcpServer::outputChanged(const ConnectionPtr& c)
{
    const size_t now = c->gone ? 0 : c->pending();
    m_pendingTotal = m_pendingTotal - c->counted + now;
    c->counted = now;
    if (c->watching && !c->gone && now <= c->watchBelow) {
        c->watching = false;
        asio::post(m_io, [this, id = c->id, alive = std::weak_ptr<bool>(m_alive)] {
            if (!alive.expired() && find(id))
                m_events->outputDrained(id);
        });
    }
}

size_t TcpServer::pendingOutput(ConnectionId id) const
{
    const ConnectionPtr c = find(id);
    return c ? c->pending() : 0;
}

void TcpServer::watchOutput(ConnectionId id, size_t bytes)
{
    const ConnectionPtr c = find(id);
    if (!c)
        return;
    c->watching = true;
    c->watchBelow = bytes;
    outputChanged(c);
}

void TcpServer::abort(ConnectionId id)
{
    if (const ConnectionPtr c = find(id))
        drop(c, nullptr);
}

void TcpServer::scheduleFlush(const ConnectionPtr& c)
{
    if (c->writeInFlight || c->dirty)
        return;
    c->dirty = true;
    m_dirty.push_back(c);
    // Everything queued while handling one event leaves in one write per connection.
    if (!m_flushScheduled) {
        m_flushScheduled = true;
        asio::post(m_io, [this, alive = std::weak_ptr<bool>(m_alive)] {
            if (!alive.expired())
                flushAll();
        });
    }
}

void TcpServer::flushAll()
{
    m_flushScheduled = false;
    std::vector<ConnectionPtr> dirty;
    dirty.swap(m_dirty);
    for (const ConnectionPtr& c : dirty) {
        c->dirty = false;
        if (!c->gone)
            write(c);
    }
}

void TcpServer::write(const ConnectionPtr& c)
{
    if (c->writeInFlight || c->gone)
        return;
    if (c->queued.empty()) {
        finishIfDrained(c);
        return;
    }
    // Try at once; only what the socket does not take waits for an asynchronous write.
    std::error_code ec;
    const size_t n = c->socket.write_some(asio::buffer(c->queued), ec);
    if (ec && ec != asio::error::would_block && ec != asio::error::try_again) {
        drop(c, "write error");
        return;
    }
    c->queued.erase(0, n);
    outputChanged(c);
    if (c->queued.empty()) {
        release(c->queued);
        finishIfDrained(c);
        return;
    }
    c->writing.swap(c->queued);
    c->writeInFlight = true;
    asio::async_write(c->socket, asio::buffer(c->writing),
        [this, c, alive = std::weak_ptr<bool>(m_alive)](std::error_code error, size_t) {
            if (alive.expired())
                return;
            c->writeInFlight = false;
            release(c->writing);
            if (c->gone || error == asio::error::operation_aborted)
                return;
            outputChanged(c);
            if (error) {
                drop(c, "write error");
                return;
            }
            write(c);
        });
}

void TcpServer::finishIfDrained(const ConnectionPtr& c)
{
    if (!c->closing || c->writeInFlight || !c->queued.empty() || c->gone)
        return;
    std::error_code ignored;
    c->socket.shutdown(tcp::socket::shutdown_both, ignored);
    drop(c, nullptr);
}

void TcpServer::close(ConnectionId id)
{
    const ConnectionPtr c = find(id);
    if (!c || c->closing)
        return;
    c->closing = true;
    if (c->writeInFlight || !c->queued.empty()) {
        // A peer that does not read gets a little time, not forever.
        c->grace = std::make_unique<asio::steady_timer>(m_io, m_settings.closeGrace);
        c->grace->async_wait([this, c, alive = std::weak_ptr<bool>(m_alive)](std::error_code ec) {
            if (!alive.expired() && !ec && !c->gone)
                drop(c, nullptr);
        });
        scheduleFlush(c);
        return;
    }
    finishIfDrained(c);
}

void TcpServer::pauseReading(ConnectionId id, bool paused)
{
    const ConnectionPtr c = find(id);
    if (!c)
        return;
    c->paused = paused;
    if (!paused)
        armRead(c);
}

void TcpServer::drop(const ConnectionPtr& c, const char* why)
{
    if (c->gone)
        return;
    c->gone = true;
    if (why)
        m_log.line("connection #" + std::to_string(c->id) + " dropped: " + why);
    std::error_code ignored;
    c->socket.close(ignored);
    if (c->grace)
        c->grace->cancel();
    m_connections.erase(c->id);
    outputChanged(c);
    release(c->queued);
    // Below its limit again: the next refusal starts a new episode in the log.
    m_limitLogged.erase(c->address);
    if (const auto it = m_perAddress.find(c->address);
        it != m_perAddress.end() && --it->second <= 0)
        m_perAddress.erase(it);
    // Reported from a fresh turn of the loop, so the protocol handling is never re-entered
    // from inside one of its own calls.
    asio::post(m_io, [this, id = c->id, alive = std::weak_ptr<bool>(m_alive)] {
        if (!alive.expired())
            m_events->connectionClosed(id);
    });
}

TcpServer::ConnectionPtr TcpServer::find(ConnectionId id) const
{
    const auto it = m_connections.find(id);
    return it == m_connections.end() ? nullptr : it->second;
}
