#include "library/datadirectorylock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

DataDirectoryLock::~DataDirectoryLock()
{
    release();
}

DataDirectoryLock::Status DataDirectoryLock::acquire(const std::string& directory)
{
    release();
    const std::string path = directory + "pavione.lock";
    // The lock file is never removed: removing it would let two programs lock two different files.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return Status::Unavailable;
    int result;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        return taken ? Status::Taken : Status::Unavailable;
    }
    m_fd = fd;
    return Status::Held;
}

void DataDirectoryLock::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
