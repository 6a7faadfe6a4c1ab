#pragma once

#include <cstdint>

// Where the library sends window notices: the desktop program broadcasts them to every open
// modeless window as a WindowNotice (message 83). The library sends WindowFolderRemoved and
// WindowRecordRemoved (net/notices.h) before a folder or record goes away, keyed with
// libraryNoticeKey, so that windows showing it close.
class LibraryNoticeSink {
public:
    virtual ~LibraryNoticeSink() = default;

    // Returns how many windows claimed the notice.
    virtual int32_t sendWindowNotice(int32_t kind, uint32_t key, uint32_t extra) = 0;
};
