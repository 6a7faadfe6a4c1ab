#include "library/datadirectorylock.h"

#include "../records/clirun.h"
#include "../records/tempdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Status = DataDirectoryLock::Status;

TEST(DataDirectoryLock, OneHolderAtATimeUntilItReleasesOrEnds)
{
    TempDir dir;
    const std::string directory = dir.path().string() + "/";
    DataDirectoryLock first;
    DataDirectoryLock second;
    EXPECT_EQ(first.acquire(directory), Status::Held);
    EXPECT_EQ(second.acquire(directory), Status::Taken);
    first.release();
    EXPECT_EQ(second.acquire(directory), Status::Held);
    second.release();
    EXPECT_EQ(first.acquire(dir.file("missing") + "/"), Status::Unavailable);

    // A holder that dies gives the lock back without any help.
    const pid_t child = ::fork();
    if (child == 0) {
        DataDirectoryLock held;
        ::_exit(held.acquire(directory) == Status::Held ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(first.acquire(directory), Status::Held);
}

TEST(DataDirectoryLock, TheCommandLineRefusesToWriteALockedDirectory)
{
    TempDir dir;
    writeBytes(dir.file("moves.txt"), "F5D6\n");
    const std::string file = dir.file("private.kif");
    ASSERT_EQ(cli("gen --records 3 --seed 1 " + file).status, 0);
    const std::string before = readBytes(file);
    DataDirectoryLock program;
    ASSERT_EQ(program.acquire(dir.path().string() + "/"), Status::Held);
    const CliRun refused = cli("import " + file + " < " + dir.file("moves.txt") + " 2>&1");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("in use by another program"), std::string::npos) << refused.out;
    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(cli("gen --records 5 --seed 2 " + file + " 2>/dev/null").status, 1);
    EXPECT_EQ(readBytes(file), before);
    program.release();
    EXPECT_EQ(cli("import " + file + " < " + dir.file("moves.txt")).status, 0);
    EXPECT_NE(readBytes(file), before);
}

} // namespace
