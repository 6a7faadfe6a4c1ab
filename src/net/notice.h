#pragma once

#include <cstdint>

class NoticeListener;

// The typed form of a server message or of an internal event, broadcast to the open windows.
// A notice is built on the stack and passed by reference; nobody keeps it after the broadcast.
// Each kind calls its own handler of NoticeListener.
struct Notice {
    const int32_t id; // a MessageId

    virtual ~Notice() = default;
    // Calls the listener's handler for this kind with the count so far and returns its answer.
    virtual int32_t deliverTo(NoticeListener& listener, int32_t count) const = 0;

protected:
    explicit Notice(int32_t noticeId)
        : id(noticeId)
    { }
    Notice(const Notice&) = default;
};
