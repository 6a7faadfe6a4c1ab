#include "itemsof.h"
#include "net/framing.h"
#include "net/messagereader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Messages = std::vector<std::vector<std::string>>;

// Every message the reader completes, in order, after the given pieces; stops at an error.
Messages readAll(
    MessageReader& reader, const std::vector<std::string>& pieces, bool* protocolError = nullptr)
{
    Messages messages;
    for (const std::string& piece : pieces)
        reader.feed(piece);
    StringList message;
    for (;;) {
        const MessageReader::Result result = reader.next(message);
        if (protocolError)
            *protocolError = result == MessageReader::Result::ProtocolError;
        if (result != MessageReader::Result::Message)
            break;
        messages.push_back(itemsOf(message));
    }
    return messages;
}

Messages readAll(const std::vector<std::string>& pieces, bool* protocolError = nullptr)
{
    MessageReader reader;
    return readAll(reader, pieces, protocolError);
}

} // namespace

TEST(Framing, WireBytes)
{
    EXPECT_EQ(frameMessage(StringList { "NOP" }), "\x2D\x4E\x4F\x50\x0A");
    EXPECT_EQ(frameMessage(StringList { "LOGIN", "a", "b", "0" }),
        "\x2B\x4C\x4F\x47\x49\x4E\x0A\x2B\x61\x0A\x2B\x62\x0A\x2D\x30\x0A");
    EXPECT_EQ(frameMessage(StringList {}), "");
    EXPECT_EQ(frameMessage(StringList { "BCAST", "" }), "+BCAST\n-\n");
    // Items are passed through as bytes: no escaping, CP932 and CR untouched.
    EXPECT_EQ(frameMessage(StringList { "TELL", "\x83\x65\x83\x58\x83\x67\r", "a\\,b" }),
        "+TELL\n+\x83\x65\x83\x58\x83\x67\r\n-a\\,b\n");
    EXPECT_EQ(framedLength(StringList { "LOGIN", "a", "b", "0" }), 16u);
}

TEST(Framing, LineFeedInsideAnItemCannotStartALine)
{
    const std::string framed = frameMessage(StringList { "TELL", "bob", "hi\n-LOGOUT\n" });
    EXPECT_EQ(framed, "+TELL\n+bob\n-hi -LOGOUT \n");
    EXPECT_EQ(readAll({ framed }), (Messages { { "TELL", "bob", "hi -LOGOUT " } }));
}

TEST(Framing, AppendsToAByteBuffer)
{
    ByteBuffer buffer;
    buffer.append("-NOP\n");
    EXPECT_TRUE(frameMessage(StringList { "HC" }, buffer));
    EXPECT_EQ(buffer.view(), "-NOP\n-HC\n");
}

TEST(MessageReader, RoundTripsFramedMessages)
{
    const StringList sent { "XTELL", "user", "DIR", "\\", "1,share,comment", "" };
    StringList received;
    MessageReader reader;
    reader.feed(frameMessage(sent));
    EXPECT_EQ(reader.next(received), MessageReader::Result::Message);
    EXPECT_EQ(received, sent);
    EXPECT_EQ(reader.next(received), MessageReader::Result::NoMessage);
    EXPECT_EQ(received, sent); // left alone when there is no message
}

TEST(MessageReader, TwoMessagesInOneRead)
{
    EXPECT_EQ(readAll({ "+LOGIN\n+bob\n-100\n-NOP\n" }),
        (Messages { { "LOGIN", "bob", "100" }, { "NOP" } }));
}

TEST(MessageReader, MessageSplitAtEveryByte)
{
    const std::string wire = "+BCAST\r\n+alice\n+\x82\xa0\x82\xa2\n-bye\r\n-PING\n";
    const Messages expected { { "BCAST", "alice", "\x82\xa0\x82\xa2", "bye" }, { "PING" } };
    for (size_t cut = 0; cut <= wire.size(); ++cut)
        EXPECT_EQ(readAll({ wire.substr(0, cut), wire.substr(cut) }), expected) << cut;
    std::vector<std::string> bytes;
    for (char c : wire)
        bytes.emplace_back(1, c);
    EXPECT_EQ(readAll(bytes), expected);
}

TEST(MessageReader, CompleteCountFollowsTheLines)
{
    MessageReader reader;
    reader.feed("+A\n+B");
    EXPECT_EQ(reader.completeMessages(), 0);
    EXPECT_EQ(reader.bufferedLines(), 1);
    EXPECT_EQ(reader.tail().view(), "+B");
    reader.feed("\n-C\n-D\n+E");
    EXPECT_EQ(reader.completeMessages(), 2);
    StringList message;
    EXPECT_EQ(reader.next(message), MessageReader::Result::Message);
    EXPECT_EQ(reader.completeMessages(), 1);
    EXPECT_EQ(reader.next(message), MessageReader::Result::Message);
    EXPECT_EQ(itemsOf(message), (std::vector<std::string> { "D" }));
    EXPECT_EQ(reader.next(message), MessageReader::Result::NoMessage);
    EXPECT_EQ(reader.tail().view(), "+E");
}

TEST(MessageReader, LineEnds)
{
    struct Case {
        std::string wire;
        Messages messages;
    } cases[] = {
        { "+A\r\n-B\n", { { "A", "B" } } },
        { "+A\n-B\r\n", { { "A", "B" } } },
        // Only one CR right before the LF is dropped; a CR elsewhere stays.
        { "-A\r\r\n", { { "A\r" } } },
        { "-A\rB\n", { { "A\rB" } } },
        { "-\r\r\n", { { "\r" } } },
        // A minus alone gives an empty last item.
        { "+TELLOK\n-\n", { { "TELLOK", "" } } },
        { "-\n", { { "" } } },
        { "-\r\n", { { "" } } },
        // Nothing is delivered until a line ends a message.
        { "+A\n+B\n", {} },
        { "-A", {} },
    };
    for (const Case& c : cases)
        EXPECT_EQ(readAll({ c.wire }), c.messages) << c.wire;
}

TEST(MessageReader, BadLinesEndTheConnection)
{
    struct Case {
        std::string wire;
        Messages before; // delivered before the error
        bool error;
    } cases[] = {
        { "\n-A\n", {}, true },
        { "\r\n-A\n", {}, true },
        { "+A\n\n-B\n", {}, true },
        { "-A\nxyz\n-B\n", { { "A" } }, true },
        { "-A\n*B\n+C\n-D\n-E\n", { { "A" } }, true },
        { "- A\n+ B\n", { { " A" } }, false },
        // A bad line is noticed only once a later line completes a message.
        { "-A\nxyz\n", { { "A" } }, false },
        { "-A\nxyz\n+B\n", { { "A" } }, false },
    };
    for (const Case& c : cases) {
        bool error = false;
        EXPECT_EQ(readAll({ c.wire }, &error), c.before) << c.wire;
        EXPECT_EQ(error, c.error) << c.wire;
    }
}

TEST(MessageReader, NothingIsDeliveredAfterAProtocolError)
{
    MessageReader reader;
    bool error = false;
    EXPECT_EQ(readAll(reader, { "+A\n?\n-B\n-C\n" }, &error), Messages {});
    EXPECT_TRUE(error);
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.completeMessages(), 0);
    EXPECT_EQ(reader.bufferedLines(), 0);
    EXPECT_FALSE(reader.feed("-D\n"));
    EXPECT_EQ(readAll(reader, {}, &error), Messages {});
    EXPECT_FALSE(error); // reported once
}

TEST(MessageReader, BadLineIsFoundAfterItArrivesInALaterRead)
{
    MessageReader reader;
    bool error = false;
    EXPECT_EQ(readAll(reader, { "-A\n" }, &error), (Messages { { "A" } }));
    EXPECT_EQ(readAll(reader, { "oops\n" }, &error), Messages {});
    EXPECT_FALSE(error);
    EXPECT_EQ(readAll(reader, { "+B\n-C\n" }, &error), Messages {});
    EXPECT_TRUE(error);
}

TEST(MessageReader, LongLinesHaveNoLimit)
{
    const std::string item(100000, 'r');
    MessageReader reader;
    const std::string wire = frameMessage(StringList { "XTELL", item });
    for (size_t at = 0; at < wire.size(); at += 4096)
        reader.feed(std::string_view(wire).substr(at, 4096));
    StringList message;
    ASSERT_EQ(reader.next(message), MessageReader::Result::Message);
    EXPECT_EQ(message.item(1), item);
    EXPECT_EQ(reader.tail().capacity(), 0); // a drained tail gives back its large storage
}

TEST(MessageReader, ALongLineGrowsTheTailGeometrically)
{
    // 2 MiB arriving 4 KiB at a time: a tail grown by each read would be copied 512 times.
    MessageReader reader;
    const std::string piece(4096, 'g');
    int grown = 0;
    for (int read = 0; read < 512; ++read) {
        const int32_t before = reader.tail().capacity();
        ASSERT_TRUE(reader.feed(read == 0 ? "+" + piece.substr(1) : piece));
        grown += reader.tail().capacity() != before;
    }
    EXPECT_EQ(reader.tail().length(), 2 * 1024 * 1024);
    EXPECT_LE(grown, 12);
    ASSERT_TRUE(reader.feed("\n-\n"));
    StringList message;
    ASSERT_EQ(reader.next(message), MessageReader::Result::Message);
    EXPECT_EQ(message.item(0).length(), 2 * 1024 * 1024 - 1);
}
