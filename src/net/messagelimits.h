#pragma once

#include <cstddef>
#include <string_view>

// What one side of the wire may make the other hold. The server and the client refuse a peer that
// sends more, so that neither buffers without bound.
inline constexpr size_t kMaxLineLength = 64 * 1024; // without the line feed
// A DIR answer carries every record of a share in one message, and the client puts no bound on
// how many; 32 MiB lets a share of well over 100,000 records through.
inline constexpr size_t kMaxMessageLength = 32 * 1024 * 1024; // every line with its line feed

// Follows the lengths of the unfinished line and message across received bytes, before they are
// buffered. Once a limit is passed it stays failed. Each finished line may be charged lineOverhead
// bytes besides its own, for what the reader keeps per line, so that a message of tiny lines
// cannot make the receiver hold many times its size.
class MessageLimits {
public:
    enum class Status { Ok, LineTooLong, MessageTooLong };

    explicit MessageLimits(size_t lineOverhead = 0, size_t maxMessageLength = kMaxMessageLength)
        : m_lineOverhead(lineOverhead)
        , m_maxMessageLength(maxMessageLength)
    { }

    Status feed(std::string_view bytes);
    Status status() const { return m_status; }
    // The cost of the unfinished message so far.
    size_t held() const { return m_messageLength; }
    size_t maxMessageLength() const { return m_maxMessageLength; }

private:
    size_t m_lineOverhead;
    size_t m_maxMessageLength;
    size_t m_lineLength = 0; // bytes of the unfinished line so far
    size_t m_messageLength = 0; // cost of the unfinished message so far
    char m_lineStart = 0; // first byte of the unfinished line
    Status m_status = Status::Ok;
};
