#pragma once

#include "net/bytebuffer.h"
#include "net/bytestring.h"
#include "net/stringlist.h"

#include <cstdint>
#include <deque>
#include <string_view>

// Cuts received bytes into lines and lines into messages: the receiving half of the wire format
// (see framing.h), independent of any socket. A line ends at a line feed; one carriage return
// right before it is dropped, so CR LF reads like LF. A line starting with "+" continues a
// message, one starting with "-" ends it; any other line (an empty one too) is a protocol error,
// which is noticed when a later line has completed a message and the walk reaches it.
class MessageReader {
public:
    enum class Result { NoMessage, Message, ProtocolError };

    // Takes received bytes and cuts every line they complete; an unterminated tail waits for the
    // next bytes. Lines have no length limit here (see messagelimits.h). False, with the bytes
    // dropped, once the reader has failed (after a protocol error, or when the tail would pass the
    // 32-bit range).
    bool feed(std::string_view bytes);
    // How many buffered lines end a message.
    int32_t completeMessages() const { return m_complete; }
    int32_t bufferedLines() const { return static_cast<int32_t>(m_lines.size()); }
    // Received bytes not yet ended by a line feed.
    const ByteBuffer& tail() const { return m_tail; }
    bool failed() const { return m_failed; }

    // Moves the next complete message into out (items without their framing byte), or reports a
    // protocol error, after which the reader drops everything it holds and takes nothing more.
    Result next(StringList& out);

private:
    struct Line {
        unsigned char prefix; // the framing byte, 0 for an empty line
        ByteString text; // the bytes after the framing byte
    };

    void addLine(std::string_view line);
    void fail();

    ByteBuffer m_tail;
    int32_t m_scanned = 0; // leading bytes of the tail known to hold no line feed
    std::deque<Line> m_lines;
    int32_t m_complete = 0;
    // Set once a bad line is buffered: the walk stops there, so the lines after it are only
    // counted, never kept.
    bool m_badLineBuffered = false;
    bool m_failed = false;
};
