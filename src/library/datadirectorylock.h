#pragma once

#include <string>

// Keeps one program at a time working on a data directory: an exclusive flock on the file
// "pavione.lock" there. The kernel releases it when the holder ends, however it ends.
class DataDirectoryLock {
public:
    enum class Status {
        Held, // this process holds the lock
        Taken, // another process holds it: the files are theirs to write
        Unavailable, // no lock file could be made (for example a read-only directory)
    };

    DataDirectoryLock() = default;
    ~DataDirectoryLock();
    DataDirectoryLock(const DataDirectoryLock&) = delete;
    DataDirectoryLock& operator=(const DataDirectoryLock&) = delete;

    // directory ends with its '/', or is empty for the current directory.
    Status acquire(const std::string& directory);
    void release();

private:
    int m_fd = -1;
};
