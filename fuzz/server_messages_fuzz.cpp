// The sharing server's message handling under arbitrary input, without sockets. The input is a
// script of records: one operation byte, one length byte, then that many payload bytes. The low
// two bits of the operation pick one of four connections; the rest say what happens to it:
//   0  the payload arrives on it
//   1  it closes, and a new main-port connection takes its place
//   2  it closes, and a new presence-port connection takes its place
//   3  time passes (the length byte in seconds) and overdue logins are refused
// Connections 0 to 2 start on the main port (2 from a denied address), 3 on the presence port;
// the accounts alice and bob have the passwords "pw-alice" and "pw-bob".
#include "server/accountloginchecker.h"
#include "server/accountstore.h"
#include "server/serverclock.h"
#include "server/serverlog.h"
#include "server/sharingserver.h"

#include "net/messagereader.h"

#include <asio/io_context.hpp>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>
#include <vector>

namespace {

class FakeClock final : public ServerClock {
public:
    std::chrono::milliseconds steadyNow() const override { return m_now; }
    std::int64_t unixNow() const override { return 1700000000 + m_now.count() / 1000; }
    void advance(std::chrono::milliseconds step) { m_now += step; }

private:
    std::chrono::milliseconds m_now { 5000 };
};

// Stands in for the network side: checks that everything sent is well-framed and remembers
// which connections were asked to close (reported back after the call, as the real side does).
class FakeControl final : public ConnectionControl {
public:
    void send(ConnectionId id, std::string_view bytes) override
    {
        if (m_closed.count(id))
            return;
        MessageReader reader;
        if (bytes.empty() || bytes.back() != '\n' || !reader.feed(bytes))
            std::abort();
        StringList message;
        int messages = 0;
        MessageReader::Result result;
        while ((result = reader.next(message)) == MessageReader::Result::Message)
            ++messages;
        if (result == MessageReader::Result::ProtocolError || messages == 0
            || reader.bufferedLines())
            std::abort();
    }
    void close(ConnectionId id) override
    {
        if (m_closed.insert(id).second)
            m_pending.push_back(id);
    }
    void pauseReading(ConnectionId, bool) override { }
    void abort(ConnectionId id) override { close(id); }
    size_t pendingOutput(ConnectionId) const override { return 0; }
    size_t pendingOutputTotal() const override { return 0; }
    void watchOutput(ConnectionId, size_t) override { }

    std::vector<ConnectionId> takeClosed() { return std::exchange(m_pending, {}); }
    bool isClosed(ConnectionId id) const { return m_closed.count(id) != 0; }

private:
    std::set<ConnectionId> m_closed;
    std::vector<ConnectionId> m_pending;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A fresh database each time, so that every run starts alike.
    AccountStore store;
    if (!store.open(":memory:")
        || store.addUser("alice", "pw-alice", HashStrength::Cheap) != AccountStore::Status::Ok
        || store.addUser("bob", "pw-bob", HashStrength::Cheap) != AccountStore::Status::Ok)
        std::abort();
    asio::io_context io;
    StoreRunner runner(store, io, false);
    AccountLoginChecker checker(runner, io, 0);
    FakeControl control;
    FakeClock clock;
    ServerLog log(nullptr);
    SharingServer::Settings settings;
    settings.maxUsers = 3;
    settings.denied.add("192.0.2.0/24");
    SharingServer server(std::move(settings), runner, checker, control, clock, log);

    std::array<ConnectionId, 4> slots {};
    ConnectionId lastId = 0;
    const auto open = [&](int slot, PortKind port) {
        slots[slot] = ++lastId;
        server.connectionOpened(slots[slot], port, slot == 2 ? "192.0.2.7" : "127.0.0.1");
    };
    const auto settle = [&] {
        for (ConnectionId id : control.takeClosed())
            server.connectionClosed(id);
    };
    for (int slot = 0; slot < 3; ++slot)
        open(slot, PortKind::Main);
    open(3, PortKind::Presence);

    size_t at = 0;
    while (at < size) {
        const uint8_t op = data[at++];
        const size_t length = at < size ? data[at++] : 0;
        const std::string_view payload(
            reinterpret_cast<const char*>(data) + at, std::min(length, size - at));
        at += payload.size();
        const int slot = op & 3;
        switch ((op >> 2) & 3) {
        case 0:
            if (!control.isClosed(slots[slot]))
                server.bytesReceived(slots[slot], payload);
            break;
        case 1:
        case 2:
            server.connectionClosed(slots[slot]);
            open(slot, ((op >> 2) & 3) == 1 ? PortKind::Main : PortKind::Presence);
            break;
        case 3:
            clock.advance(std::chrono::seconds(length));
            server.expireLogins();
            break;
        }
        settle();
        if (server.onlineCount() > server.connectionCount() || server.onlineCount() > 3)
            std::abort();
    }
    return 0;
}
