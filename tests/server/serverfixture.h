#pragma once

#include "testclient.h"

#include "server/serverclock.h"
#include "server/serverlog.h"
#include "server/serveroptions.h"
#include "server/serverruntime.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

// A clock the tests move by hand.
class ManualClock final : public ServerClock {
public:
    std::chrono::milliseconds steadyNow() const override
    {
        return std::chrono::milliseconds(m_steady.load());
    }
    std::int64_t unixNow() const override { return m_unix.load(); }
    void advance(std::chrono::milliseconds step)
    {
        m_steady += step.count();
        m_unix = 1700000000 + m_steady.load() / 1000;
    }

private:
    std::atomic<std::int64_t> m_steady { 1000000 };
    std::atomic<std::int64_t> m_unix { 1700001000 };
};

// A whole server on loopback, run on its own thread, with the accounts alice, bob, carol and
// dave (password "pw-" and the name) in a fresh database.
class ServerFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the server with the options as they are then.
    void start();
    void stop();

    // Connects and logs in; the LOGINOK and the user list are taken and checked, and the list is
    // handed back when asked for.
    bool login(TestClient& client, const std::string& name, StringList* users = nullptr);
    // Asserts that nothing but the answer to a VERSION probe arrives: everything the server
    // sent before the probe has then been seen.
    void expectNothingMore(TestClient& client);

    std::string m_dbPath;
    ServerOptions m_options;
    ManualClock m_clock;
    ServerLog m_log { nullptr };
    std::unique_ptr<ServerRuntime> m_server;
    std::thread m_thread;
    std::uint16_t m_port = 0;
    std::uint16_t m_presencePort = 0;
};
