#pragma once

#include "net/messagelimits.h"
#include "net/messagereader.h"
#include "net/stringlist.h"

#include <cstddef>
#include <memory>
#include <string_view>

// A connection's incoming messages: the protocol's message reader behind a guard that bounds
// what one peer can make the server hold. A line longer than maxLineLength bytes, or a message
// whose lines add up to more than maxMessageLength bytes, is refused before it is buffered.
class MessageInput {
public:
    static constexpr size_t maxLineLength = kMaxLineLength;
    static constexpr size_t maxMessageLength = kMaxMessageLength;

    enum class Status { Ok, LineTooLong, MessageTooLong, Failed };

    // Once a status other than Ok was returned, the input takes nothing more.
    Status feed(std::string_view bytes);
    MessageReader::Result next(StringList& out);
    // Gives back the reader's memory when it holds nothing (idle connections keep no buffers).
    void releaseIfIdle();

private:
    std::unique_ptr<MessageReader> m_reader; // made on the first bytes, dropped when idle
    MessageLimits m_limits;
    Status m_status = Status::Ok;
};

const char* inputStatusText(MessageInput::Status status);
