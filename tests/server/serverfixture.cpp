#include "serverfixture.h"

#include "server/accountstore.h"

#include <cstdio>
#include <unistd.h>

void ServerFixture::SetUp()
{
    static int serial = 0;
    m_dbPath = testing::TempDir() + "pavione-server-test-" + std::to_string(getpid()) + "-"
        + std::to_string(++serial) + ".db";
    std::remove(m_dbPath.c_str());
    AccountStore store;
    ASSERT_TRUE(store.open(m_dbPath)) << store.error();
    for (const char* name : { "alice", "bob", "carol", "dave" }) {
        ASSERT_EQ(store.addUser(name, std::string("pw-") + name, HashStrength::Cheap),
            AccountStore::Status::Ok);
    }
    m_options.databasePath = m_dbPath;
    m_options.listenAddress = "127.0.0.1";
    m_options.port = 0;
    m_options.presencePort = 0;
}

void ServerFixture::TearDown()
{
    stop();
    for (const char* suffix : { "", "-wal", "-shm" })
        std::remove((m_dbPath + suffix).c_str());
}

void ServerFixture::start()
{
    m_server = std::make_unique<ServerRuntime>(m_options, m_log, &m_clock);
    std::string error;
    ASSERT_TRUE(m_server->start(error)) << error;
    m_port = m_server->mainPort();
    m_presencePort = m_server->presencePort();
    m_thread = std::thread([this] { m_server->run(false); });
}

void ServerFixture::stop()
{
    if (!m_server)
        return;
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
    m_server.reset();
}

bool ServerFixture::login(TestClient& client, const std::string& name, StringList* userList)
{
    if (!client.connect(m_port) || !client.send(list({ "LOGIN", name, "pw-" + name, "0" })))
        return false;
    const auto ok = client.next();
    const auto users = client.next();
    EXPECT_TRUE(ok && ok->item(0) == "LOGINOK") << name;
    EXPECT_TRUE(users && users->item(0) == "ALLUSER") << name;
    if (users && userList)
        *userList = *users;
    return ok && ok->item(0) == "LOGINOK" && users && users->item(0) == "ALLUSER";
}

void ServerFixture::expectNothingMore(TestClient& client)
{
    ASSERT_TRUE(client.send(list({ "VERSION", "0" })));
    const auto answer = client.next();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->item(0), "VERSION") << testing::PrintToString(*answer);
}
