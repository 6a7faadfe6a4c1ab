#include "server/messageinput.h"

MessageInput::Status MessageInput::feed(std::string_view bytes)
{
    if (m_status != Status::Ok)
        return m_status;
    // Only lengths are tracked here; cutting lines and messages stays the reader's job.
    switch (m_limits.feed(bytes)) {
    case MessageLimits::Status::Ok:
        break;
    case MessageLimits::Status::LineTooLong:
        return m_status = Status::LineTooLong;
    case MessageLimits::Status::MessageTooLong:
        return m_status = Status::MessageTooLong;
    }
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
        return "message longer than 32 MiB";
    case MessageInput::Status::Failed:
        return "input overflow";
    }
    return "?";
}
