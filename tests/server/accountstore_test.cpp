#include "server/accountstore.h"
#include "server/username.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {

using Status = AccountStore::Status;

TEST(UserNameTest, LettersDigitsUnderscoreAndDashFromOneToSixteenBytes)
{
    struct Case {
        std::string name;
        bool valid;
    };
    const Case cases[] = {
        { "a", true },
        { "Alice_01-x", true },
        { std::string(16, 'z'), true },
        { std::string(17, 'z'), false },
        { "", false },
        { "a b", false },
        { "a,b", false },
        { "a\\b", false },
        { "caf\xc3\xa9", false },
        { std::string("a\0b", 3), false },
        { "\x95\x5C", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(isValidUserName(c.name), c.valid) << c.name;
}

class AccountStoreTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_path = testing::TempDir() + "pavione-accounts-" + std::to_string(getpid()) + ".db";
        removeFiles();
        ASSERT_TRUE(m_store.open(m_path)) << m_store.error();
    }
    void TearDown() override { removeFiles(); }
    void removeFiles()
    {
        for (const char* suffix : { "", "-wal", "-shm" })
            std::remove((m_path + suffix).c_str());
    }
    bool checks(const std::string& name, const std::string& password)
    {
        std::string hash;
        return m_store.passwordHash(name, hash) == Status::Ok && verifyPassword(hash, password);
    }

    std::string m_path;
    AccountStore m_store;
};

TEST_F(AccountStoreTest, AddChangeRemoveAndList)
{
    EXPECT_EQ(m_store.addUser("bob", "secret", HashStrength::Cheap), Status::Ok);
    EXPECT_EQ(m_store.addUser("alice", "pw", HashStrength::Cheap), Status::Ok);
    EXPECT_EQ(m_store.addUser("alice", "other", HashStrength::Cheap), Status::Exists);
    EXPECT_EQ(m_store.addUser("no good", "pw", HashStrength::Cheap), Status::InvalidName);
    EXPECT_EQ(m_store.addUser("carol", "", HashStrength::Cheap), Status::InvalidPassword);
    EXPECT_EQ(m_store.addUser("carol", "two\nlines", HashStrength::Cheap), Status::InvalidPassword);
    EXPECT_TRUE(checks("alice", "pw"));
    EXPECT_FALSE(checks("alice", "other"));
    // Names are compared exactly.
    std::string hash;
    EXPECT_EQ(m_store.passwordHash("Alice", hash), Status::NotFound);

    EXPECT_EQ(m_store.setPassword("alice", "new", HashStrength::Cheap), Status::Ok);
    EXPECT_TRUE(checks("alice", "new"));
    EXPECT_FALSE(checks("alice", "pw"));
    EXPECT_EQ(m_store.setPassword("zoe", "new", HashStrength::Cheap), Status::NotFound);

    EXPECT_EQ(m_store.removeUser("bob"), Status::Ok);
    EXPECT_EQ(m_store.removeUser("bob"), Status::NotFound);
    EXPECT_EQ(m_store.userNames(), std::vector<std::string> { "alice" });
}

TEST_F(AccountStoreTest, ExistingUsersAreLookedUpInChunks)
{
    // More names than one query takes, so that the lookup is split.
    std::vector<std::pair<std::string, std::string>> accounts;
    std::vector<std::string> asked;
    for (int i = 0; i < 1200; ++i) {
        const std::string name = "u" + std::to_string(i);
        if (i % 3 != 0)
            accounts.emplace_back(name, "pw");
        asked.push_back(name);
    }
    size_t failed = 0;
    ASSERT_EQ(m_store.addUsers(accounts, HashStrength::Cheap, failed), Status::Ok);
    const auto existing = m_store.existingUsers(asked);
    ASSERT_TRUE(existing);
    std::vector<std::string> expected;
    for (const auto& account : accounts)
        expected.push_back(account.first);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(*existing, expected);
    EXPECT_EQ(m_store.existingUsers({}), std::vector<std::string> {});
    EXPECT_EQ(m_store.existingUsers({ "U1", "u0", "nobody" }), std::vector<std::string> {});
}

TEST_F(AccountStoreTest, PasswordsAreStoredOnlyAsSaltedArgon2idHashes)
{
    ASSERT_EQ(m_store.addUser("alice", "same", HashStrength::Standard), Status::Ok);
    ASSERT_EQ(m_store.addUser("bob", "same", HashStrength::Cheap), Status::Ok);
    std::string a, b;
    ASSERT_EQ(m_store.passwordHash("alice", a), Status::Ok);
    ASSERT_EQ(m_store.passwordHash("bob", b), Status::Ok);
    EXPECT_EQ(a.rfind("$argon2id$", 0), 0u);
    EXPECT_EQ(b.rfind("$argon2id$", 0), 0u);
    EXPECT_EQ(a.find("same"), std::string::npos);
    EXPECT_NE(a, b);
    EXPECT_TRUE(verifyPassword(a, "same"));
    EXPECT_TRUE(verifyPassword(b, "same"));
}

TEST_F(AccountStoreTest, ImportIsAllOrNothing)
{
    size_t failed = 0;
    EXPECT_EQ(m_store.addUsers({ { "u1", "p1" }, { "u2", "p2" }, { "bad name", "p3" } },
                  HashStrength::Cheap, failed),
        Status::InvalidName);
    EXPECT_EQ(failed, 2u);
    EXPECT_EQ(m_store.userNames()->size(), 0u);
    EXPECT_EQ(m_store.addUsers({ { "u1", "p1" }, { "u2", "p2" } }, HashStrength::Cheap, failed),
        Status::Ok);
    EXPECT_TRUE(checks("u2", "p2"));
}

TEST_F(AccountStoreTest, InstallationNumbersAreNewOrKnownAndSurviveReopening)
{
    const std::int64_t first = m_store.newInstallation(100);
    const std::int64_t second = m_store.newInstallation(100);
    EXPECT_GT(first, 0);
    EXPECT_NE(first, second);
    EXPECT_TRUE(m_store.knowsInstallation(first, 200));
    EXPECT_FALSE(m_store.knowsInstallation(0, 200));
    EXPECT_FALSE(m_store.knowsInstallation(-first, 200));
    EXPECT_FALSE(m_store.knowsInstallation(second + 1000, 200));
    ASSERT_EQ(m_store.addUser("alice", "pw", HashStrength::Cheap), Status::Ok);

    AccountStore reopened;
    ASSERT_TRUE(reopened.open(m_path));
    EXPECT_TRUE(reopened.knowsInstallation(second, 300));
    EXPECT_EQ(reopened.userNames(), std::vector<std::string> { "alice" });
}

TEST_F(AccountStoreTest, FileThatIsNotADatabaseIsReported)
{
    const std::string junk = m_path + ".junk";
    std::FILE* f = std::fopen(junk.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fputs(
        "this is not a database, just some text that is long enough to look like one....", f);
    std::fclose(f);
    AccountStore store;
    EXPECT_FALSE(store.open(junk));
    EXPECT_FALSE(store.error().empty());
    std::remove(junk.c_str());
}

TEST_F(AccountStoreTest, ImportHoldsTheWriteLockOnlyForItsInserts)
{
    std::vector<std::pair<std::string, std::string>> accounts;
    for (int i = 0; i < 12; ++i)
        accounts.emplace_back("slow" + std::to_string(i), "pw");
    std::atomic<bool> done { false };
    std::thread import([&] {
        size_t failed = 0;
        EXPECT_EQ(m_store.addUsers(accounts, HashStrength::Standard, failed), Status::Ok);
        done = true;
    });
    // Another process writing meanwhile waits at most 100 ms for the lock, and never has to
    // give up: the slow hashing happens before the import's transaction.
    AccountStore other;
    ASSERT_TRUE(other.open(m_path));
    other.setBusyTimeout(100);
    int writes = 0, refused = 0;
    while (!done) {
        (other.newInstallation(1) > 0 ? writes : refused) += 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    import.join();
    EXPECT_GT(writes, 0);
    EXPECT_EQ(refused, 0) << other.error();
    EXPECT_TRUE(checks("slow11", "pw"));
}

} // namespace
