#include "net/messagelimits.h"

#include <cstring>

MessageLimits::Status MessageLimits::feed(std::string_view bytes)
{
    if (m_status != Status::Ok)
        return m_status;
    size_t pos = 0;
    while (pos < bytes.size()) {
        const void* found = std::memchr(bytes.data() + pos, '\n', bytes.size() - pos);
        const size_t end = found
            ? static_cast<size_t>(static_cast<const char*>(found) - bytes.data())
            : bytes.size();
        if (m_lineLength == 0 && end > pos)
            m_lineStart = bytes[pos];
        m_lineLength += end - pos;
        m_messageLength += end - pos;
        if (m_lineLength > kMaxLineLength)
            return m_status = Status::LineTooLong;
        if (!found)
            break;
        m_messageLength += 1 + m_lineOverhead;
        if (m_messageLength > m_maxMessageLength)
            return m_status = Status::MessageTooLong;
        if (m_lineStart == '-')
            m_messageLength = 0;
        m_lineLength = 0;
        m_lineStart = 0;
        pos = end + 1;
    }
    if (m_messageLength > m_maxMessageLength)
        return m_status = Status::MessageTooLong;
    return Status::Ok;
}
