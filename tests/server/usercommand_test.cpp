#include "server/accountstore.h"
#include "server/usercommand.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <unistd.h>

namespace {

class UserCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_path = testing::TempDir() + "pavione-usercmd-" + std::to_string(getpid()) + ".db";
        removeFiles();
    }
    void TearDown() override { removeFiles(); }
    void removeFiles()
    {
        for (const char* suffix : { "", "-wal", "-shm" })
            std::remove((m_path + suffix).c_str());
    }
    int run(std::vector<std::string> words, const std::string& input = "", bool cheap = true)
    {
        ServerOptions options;
        options.databasePath = m_path;
        options.cheapHash = cheap;
        options.userCommand = std::move(words);
        std::istringstream in(input);
        m_out.str("");
        m_err.str("");
        return runUserCommand(options, in, false, m_out, m_err);
    }
    bool checks(const std::string& name, const std::string& password)
    {
        AccountStore store;
        std::string hash;
        return store.open(m_path) && store.passwordHash(name, hash) == AccountStore::Status::Ok
            && verifyPassword(hash, password);
    }

    std::string m_path;
    std::ostringstream m_out, m_err;
};

TEST_F(UserCommandTest, AddChangeListAndDelete)
{
    EXPECT_EQ(run({ "user", "add", "alice" }, "first pass\n"), 0) << m_err.str();
    EXPECT_TRUE(checks("alice", "first pass"));
    EXPECT_EQ(run({ "user", "add", "bob" }, "pw\r\n", false), 0);
    EXPECT_TRUE(checks("bob", "pw"));
    EXPECT_EQ(run({ "user", "add", "alice" }, "again\n"), 1);
    EXPECT_NE(m_err.str().find("already exists"), std::string::npos);
    EXPECT_EQ(run({ "user", "passwd", "alice" }, "second\n"), 0);
    EXPECT_TRUE(checks("alice", "second"));
    EXPECT_EQ(run({ "user", "list" }), 0);
    EXPECT_EQ(m_out.str(), "alice\nbob\n");
    EXPECT_EQ(run({ "user", "del", "bob" }), 0);
    EXPECT_EQ(run({ "user", "del", "bob" }), 1);
    EXPECT_EQ(run({ "user", "list" }), 0);
    EXPECT_EQ(m_out.str(), "alice\n");
}

TEST_F(UserCommandTest, MissingOrBadInputFails)
{
    EXPECT_EQ(run({ "user", "add", "carol" }, ""), 1);
    EXPECT_EQ(run({ "user", "add", "carol" }, "\n"), 1);
    EXPECT_EQ(run({ "user", "add", "bad,name" }, "pw\n"), 1);
    EXPECT_EQ(run({ "user", "passwd", "nobody" }, "pw\n"), 1);
    EXPECT_EQ(run({ "user" }), 2);
    EXPECT_EQ(run({ "user", "add" }), 2);
    EXPECT_EQ(run({ "user", "list", "extra" }), 2);
    EXPECT_EQ(run({ "user", "rename", "a" }), 2);
    EXPECT_EQ(run({ "user", "list" }), 0);
    EXPECT_EQ(m_out.str(), "");
}

TEST_F(UserCommandTest, ImportAddsEveryLineOrNothing)
{
    EXPECT_EQ(run({ "user", "import" }, "u1 p one\nu2 p2\n\nu3 p3\n"), 0) << m_err.str();
    EXPECT_EQ(m_out.str(), "added 3 users\n");
    EXPECT_TRUE(checks("u1", "p one"));
    EXPECT_EQ(run({ "user", "import" }, "u4 p4\nu1 again\n"), 1);
    EXPECT_NE(m_err.str().find("u1"), std::string::npos);
    EXPECT_EQ(run({ "user", "import" }, "lonely\n"), 1);
    EXPECT_EQ(run({ "user", "list" }), 0);
    EXPECT_EQ(m_out.str(), "u1\nu2\nu3\n");
}

} // namespace
