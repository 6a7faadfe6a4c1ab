#include "net/outgoingmessages.h"

StringList loginMessage(std::string_view user, std::string_view password)
{
    return StringList { "LOGIN", user, password, "0" };
}

StringList presenceLoginMessage(int32_t installationNumber)
{
    StringList message { "LOGIN" };
    message.appendInteger(installationNumber);
    return message;
}

StringList versionMessage(int32_t installationNumber)
{
    StringList message { "VERSION" };
    message.appendInteger(installationNumber);
    return message;
}

StringList nopMessage()
{
    return StringList { "NOP" };
}

StringList hcMessage()
{
    return StringList { "HC" };
}

StringList modCommentMessage(std::string_view description)
{
    return StringList { "MODCOMMENT", description };
}

StringList profileMessage(std::string_view user)
{
    return StringList { "PROFILE", user };
}

StringList tellMessage(std::string_view user, std::string_view text)
{
    return StringList { "TELL", user, text };
}

StringList bcastMessage(std::string_view text)
{
    return StringList { "BCAST", text };
}

StringList pingMessage(std::string_view user, uint32_t tickMilliseconds)
{
    StringList message { "PING", user };
    message.appendInteger(static_cast<int32_t>(tickMilliseconds));
    return message;
}

StringList pongMessage(const std::array<ByteString, 3>& pingItems)
{
    return StringList { "PONG", pingItems[0], pingItems[1], pingItems[2] };
}

StringList getDirMessage(std::string_view user, std::string_view path)
{
    return StringList { "XTELL", user, "GETDIR", path };
}

StringList dirMessage(std::string_view user, std::string_view path)
{
    return StringList { "XTELL", user, "DIR", path };
}
