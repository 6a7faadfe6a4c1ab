#pragma once

#include "net/messagelimits.h"
#include "net/messagereader.h"
#include "net/stringlist.h"

#include <cstddef>
#include <memory>
#include <string_view>

// A connection's incoming messages: the protocol's message reader behind a guard that bounds
// what one peer can make the server hold. A line longer than maxLineLength bytes, or a message
// whose lines cost more than maxMessageLength bytes (or the limit given), is refused before it is
// buffered. A line costs its bytes with the line feed plus what the reader keeps for every line
// besides its bytes, so a message of tiny lines cannot make the server hold many times its size.
class MessageInput {
public:
    static constexpr size_t maxLineLength = kMaxLineLength; // without the line feed
    static constexpr size_t maxMessageLength = kMaxMessageLength; // every line's cost
    static constexpr size_t lineOverhead = 48; // the reader's bookkeeping per buffered line

    enum class Status { Ok, LineTooLong, MessageTooLong, Failed };

    explicit MessageInput(size_t maxMessage = maxMessageLength)
        : m_limits(lineOverhead, maxMessage)
    { }

    // Once a status other than Ok was returned, the input takes nothing more.
    Status feed(std::string_view bytes);
    MessageReader::Result next(StringList& out);
    // Gives back the reader's memory when it holds nothing (idle connections keep no buffers).
    void releaseIfIdle();
    // The cost of the unfinished message held so far (bytes, per-line bookkeeping included).
    size_t held() const { return m_limits.held(); }

private:
    std::unique_ptr<MessageReader> m_reader; // made on the first bytes, dropped when idle
    MessageLimits m_limits;
    Status m_status = Status::Ok;
};

const char* inputStatusText(MessageInput::Status status);
