// A user removed from the account database while logged in is put off line by the running server.
#include "serverfixture.h"

#include "server/accountstore.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

class AccountRemovalTest : public ServerFixture { };

TEST_F(AccountRemovalTest, RemovedUsersAreLoggedOutAtTheNextCheck)
{
    start();
    TestClient alice, bob, carol;
    ASSERT_TRUE(login(alice, "alice"));
    ASSERT_TRUE(login(bob, "bob"));
    ASSERT_TRUE(login(carol, "carol"));
    EXPECT_EQ(alice.next(), list({ "LOGIN", "bob", std::to_string(m_clock.unixNow()) }));
    EXPECT_EQ(alice.next(), list({ "LOGIN", "carol", std::to_string(m_clock.unixNow()) }));
    EXPECT_EQ(bob.next(), list({ "LOGIN", "carol", std::to_string(m_clock.unixNow()) }));

    AccountStore admin;
    ASSERT_TRUE(admin.open(m_dbPath)) << admin.error();
    ASSERT_EQ(admin.removeUser("bob"), AccountStore::Status::Ok);
    ASSERT_EQ(admin.removeUser("carol"), AccountStore::Status::Ok);

    // Before the period is over the removed users stay (several sweeps run meanwhile).
    m_clock.advance(4s);
    std::this_thread::sleep_for(500ms);
    expectNothingMore(alice);
    expectNothingMore(bob);

    m_clock.advance(2s);
    EXPECT_EQ(alice.next(), list({ "LOGOUT", "bob" }));
    EXPECT_EQ(alice.next(), list({ "LOGOUT", "carol" }));
    // Each removed user is told of its own end, then its connection is closed.
    EXPECT_EQ(bob.next(), list({ "LOGOUT", "bob" }));
    EXPECT_TRUE(bob.waitClosed());
    EXPECT_TRUE(carol.waitClosed());

    // The remaining user goes on, and a removed user can no longer log in.
    ASSERT_TRUE(alice.send(list({ "PROFILE", "bob" })));
    EXPECT_EQ(alice.next(), list({ "PROFILENG", "bob" }));
    TestClient again;
    ASSERT_TRUE(again.connect(m_port));
    ASSERT_TRUE(again.send(list({ "LOGIN", "bob", "pw-bob", "0" })));
    EXPECT_EQ(again.next(), list({ "LOGINNG", "5" }));
    m_clock.advance(6s);
    std::this_thread::sleep_for(300ms);
    expectNothingMore(alice);
}

} // namespace
