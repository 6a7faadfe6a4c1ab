#include "../tests/net/fakesocketport.h"
#include "net/framing.h"
#include "net/messagereader.h"
#include "net/serverconnection.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

// Arbitrary received bytes, cut into reads of a size taken from the first byte, through line
// cutting and next-message: directly into a MessageReader, and through a ServerConnection over a
// scripted socket. Every message delivered must hold no more bytes than were given, must frame
// back to bytes that read as the same message, and the connection must agree with the reader.
namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// A message whose items end in CR cannot come back the same: a CR right before the line feed is
// part of the line end.
bool survivesReframing(const StringList& message)
{
    for (const ByteString& item : message) {
        if (!item.empty() && item.view().back() == '\r')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t chunk = 1 + static_cast<size_t>(data[0]) * 37 % ServerConnection::receiveChunk;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);

    MessageReader reader;
    std::vector<StringList> delivered;
    bool protocolError = false;
    size_t itemBytes = 0;
    StringList message;
    for (size_t at = 0; at < input.size() && !protocolError; at += chunk) {
        reader.feed(input.substr(at, chunk));
        for (;;) {
            const MessageReader::Result result = reader.next(message);
            if (result == MessageReader::Result::ProtocolError)
                protocolError = true;
            if (result != MessageReader::Result::Message)
                break;
            check(message.count() >= 1);
            for (const ByteString& item : message)
                itemBytes += static_cast<size_t>(item.length());
            if (survivesReframing(message)) {
                MessageReader again;
                StringList copy;
                again.feed(frameMessage(message));
                check(again.next(copy) == MessageReader::Result::Message && copy == message);
            }
            delivered.push_back(message);
        }
    }
    check(itemBytes <= input.size());
    check(reader.tail().length() <= static_cast<int32_t>(input.size()));

    auto socket = std::make_shared<FakeSocketState>();
    socket->connectResult = 0;
    ConnectionEventQueue events;
    auto connection
        = ServerConnection::open(std::make_unique<FakeSocketPort>(socket), events, "host", 9292);
    size_t taken = 0;
    for (size_t at = 0; at < input.size() && !connection->isFinished(); at += chunk) {
        socket->arrive(std::string(input.substr(at, chunk)));
        while (connection->nextMessage(message) == 1) {
            check(taken < delivered.size() && message == delivered[taken]);
            ++taken;
        }
    }
    check(taken == delivered.size());
    check(connection->isFinished() == protocolError);
    return 0;
}
