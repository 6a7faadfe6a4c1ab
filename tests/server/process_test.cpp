// The pavione-server program as a process: shutting down on SIGTERM and surviving a kill.
#include "buildpaths.h"
#include "testclient.h"

#include "server/accountstore.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string tempPath(const char* name)
{
    const std::string path
        = testing::TempDir() + "pavione-process-" + std::to_string(getpid()) + "-" + name;
    for (const char* suffix : { "", "-wal", "-shm" })
        std::remove((path + suffix).c_str());
    return path;
}

// Starts pavione-server with its stderr on a pipe; returns the pid and the read end.
pid_t spawnServer(const std::vector<std::string>& args, int& logFd)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<std::string> all { PAVIONE_SERVER_PATH };
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, PAVIONE_SERVER_PATH, &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    logFd = pipeFds[0];
    return pid;
}

// Reads log lines until one announces the ports; returns the main port or 0.
std::uint16_t waitForPort(int logFd)
{
    std::string log;
    char buffer[512];
    while (log.find("presence port") == std::string::npos) {
        const ssize_t n = read(logFd, buffer, sizeof buffer);
        if (n <= 0)
            return 0;
        log.append(buffer, static_cast<size_t>(n));
    }
    const size_t at = log.find("listening on port ");
    return at == std::string::npos ? 0 : static_cast<std::uint16_t>(std::stoi(log.substr(at + 18)));
}

TEST(ServerProcessTest, SigtermClosesConnectionsAndExitsCleanly)
{
    const std::string db = tempPath("sigterm.db");
    {
        AccountStore store;
        ASSERT_TRUE(store.open(db));
        ASSERT_EQ(store.addUser("alice", "pw", HashStrength::Cheap), AccountStore::Status::Ok);
    }
    int logFd = -1;
    const pid_t pid = spawnServer(
        { "--db", db, "--listen", "127.0.0.1", "--port", "0", "--presence-port", "0" }, logFd);
    ASSERT_GT(pid, 0);
    const std::uint16_t port = waitForPort(logFd);
    ASSERT_NE(port, 0);
    TestClient alice;
    ASSERT_TRUE(alice.connect(port));
    ASSERT_TRUE(alice.send(list({ "LOGIN", "alice", "pw", "0" })));
    ASSERT_EQ(alice.next()->item(0), "LOGINOK");

    ASSERT_EQ(kill(pid, SIGTERM), 0);
    EXPECT_TRUE(alice.waitClosed());
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    close(logFd);
}

TEST(ServerProcessTest, DatabaseSurvivesAKillInTheMiddleOfWriting)
{
    const std::string db = tempPath("kill.db");
    {
        AccountStore store;
        ASSERT_TRUE(store.open(db));
    }
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // The child writes as fast as it can until it is killed.
        AccountStore store;
        if (!store.open(db))
            _exit(1);
        for (int i = 0;; ++i) {
            store.addUser("u" + std::to_string(i), "pw", HashStrength::Cheap);
            store.newInstallation(i);
        }
    }
    usleep(300 * 1000);
    ASSERT_EQ(kill(pid, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));

    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &raw), SQLITE_OK);
    std::string verdict;
    sqlite3_exec(
        raw, "PRAGMA integrity_check",
        [](void* out, int, char** values, char**) {
            *static_cast<std::string*>(out) += values[0] ? values[0] : "";
            return 0;
        },
        &verdict, nullptr);
    sqlite3_close(raw);
    EXPECT_EQ(verdict, "ok");

    AccountStore store;
    ASSERT_TRUE(store.open(db));
    const auto names = store.userNames();
    ASSERT_TRUE(names);
    EXPECT_GT(names->size(), 0u);
    // Every account that made it is whole: its password still checks.
    std::string hash;
    ASSERT_EQ(store.passwordHash(names->back(), hash), AccountStore::Status::Ok);
    EXPECT_TRUE(verifyPassword(hash, "pw"));
}

} // namespace
