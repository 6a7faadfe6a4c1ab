#pragma once

#include <cstddef>
#include <string_view>

// What one side of the wire may make the other hold. The server and the client refuse a peer that
// sends more, so that neither buffers without bound.
inline constexpr size_t kMaxLineLength = 64 * 1024; // without the line feed
inline constexpr size_t kMaxMessageLength = 1024 * 1024; // every line with its line feed

// Follows the lengths of the unfinished line and message across received bytes, before they are
// buffered. Once a limit is passed it stays failed.
class MessageLimits {
public:
    enum class Status { Ok, LineTooLong, MessageTooLong };

    Status feed(std::string_view bytes);
    Status status() const { return m_status; }

private:
    size_t m_lineLength = 0; // bytes of the unfinished line so far
    size_t m_messageLength = 0; // bytes of the unfinished message so far
    char m_lineStart = 0; // first byte of the unfinished line
    Status m_status = Status::Ok;
};
