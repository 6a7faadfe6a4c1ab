#include "net/messagereader.h"

#include <algorithm>
#include <cstring>

bool MessageReader::feed(std::string_view bytes)
{
    if (m_failed)
        return false;
    // The tail grows geometrically: a long line arriving one read at a time would otherwise be
    // copied whole on every read.
    const int64_t needed = int64_t { m_tail.length() } + static_cast<int64_t>(bytes.size());
    if (needed > m_tail.capacity() && m_tail.capacity() > 0)
        m_tail.reserve(std::max(needed, 2 * int64_t { m_tail.capacity() }));
    if (!m_tail.append(bytes)) {
        fail();
        return false;
    }
    const char* data = m_tail.data();
    const size_t length = static_cast<size_t>(m_tail.length());
    size_t start = 0;
    size_t scanFrom = static_cast<size_t>(m_scanned);
    while (scanFrom < length) {
        const void* found = std::memchr(data + scanFrom, '\n', length - scanFrom);
        if (!found)
            break;
        const size_t lineFeed = static_cast<size_t>(static_cast<const char*>(found) - data);
        size_t end = lineFeed;
        if (end > start && data[end - 1] == '\r')
            --end;
        addLine(std::string_view(data + start, end - start));
        start = lineFeed + 1;
        scanFrom = start;
    }
    m_tail.consume(static_cast<int32_t>(start));
    m_scanned = m_tail.length();
    return true;
}

void MessageReader::addLine(std::string_view line)
{
    const unsigned char prefix = line.empty() ? 0 : static_cast<unsigned char>(line.front());
    if (prefix == '-')
        ++m_complete;
    if (m_badLineBuffered)
        return;
    if (prefix != '+' && prefix != '-')
        m_badLineBuffered = true;
    m_lines.push_back(Line { prefix, ByteString(line.empty() ? line : line.substr(1)) });
}

MessageReader::Result MessageReader::next(StringList& out)
{
    if (m_failed || m_complete == 0)
        return Result::NoMessage;
    size_t last = 0;
    for (;; ++last) {
        if (last == m_lines.size())
            return Result::NoMessage; // unreachable: a complete count promises an ending line
        const unsigned char prefix = m_lines[last].prefix;
        if (prefix == '-')
            break;
        if (prefix != '+') {
            fail();
            return Result::ProtocolError;
        }
    }
    out.clear();
    for (size_t i = 0; i <= last; ++i) {
        out.append(std::move(m_lines.front().text));
        m_lines.pop_front();
    }
    --m_complete;
    return Result::Message;
}

void MessageReader::fail()
{
    m_failed = true;
    m_lines.clear();
    m_complete = 0;
    m_tail.clear();
    m_scanned = 0;
    m_badLineBuffered = false;
}
