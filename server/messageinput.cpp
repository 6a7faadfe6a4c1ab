#include "server/messageinput.h"

#include <cstring>

MessageInput::Status MessageInput::feed(std::string_view bytes)
{
    if (m_status != Status::Ok)
        return m_status;
    // Only lengths are tracked here; cutting lines and messages stays the reader's job.
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
        if (m_lineLength > maxLineLength)
            return m_status = Status::LineTooLong;
        if (!found)
            break;
        m_messageLength += 1 + lineOverhead;
        if (m_messageLength > maxMessageLength)
            return m_status = Status::MessageTooLong;
        if (m_lineStart == '-')
            m_messageLength = 0;
        m_lineLength = 0;
        m_lineStart = 0;
        pos = end + 1;
    }
    if (m_messageLength > maxMessageLength)
        return m_status = Status::MessageTooLong;
    if (!m_reader)
        m_reader = std::make_unique<MessageReader>();
    if (!m_reader->feed(bytes))
        return m_status = Status::Failed;
    return Status::Ok;
}

MessageReader::Result MessageInput::next(StringList& out)
{
    return m_reader ? m_reader->next(out) : MessageReader::Result::NoMessage;
}

void MessageInput::releaseIfIdle()
{
    if (m_reader && m_reader->bufferedLines() == 0 && m_reader->tail().empty()
        && !m_reader->failed())
        m_reader.reset();
}

const char* inputStatusText(MessageInput::Status status)
{
    switch (status) {
    case MessageInput::Status::Ok:
        return "ok";
    case MessageInput::Status::LineTooLong:
        return "line longer than 64 KiB";
    case MessageInput::Status::MessageTooLong:
        return "message longer than 1 MiB";
    case MessageInput::Status::Failed:
        return "input overflow";
    }
    return "?";
}
