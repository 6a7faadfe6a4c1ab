#include "server/messageinput.h"
#include "server/serverlog.h"

#include <gtest/gtest.h>

namespace {

using Status = MessageInput::Status;

std::string repeated(std::string_view piece, size_t times)
{
    std::string s;
    for (size_t i = 0; i < times; ++i)
        s += piece;
    return s;
}

TEST(MessageInputTest, LimitsHoldHoweverTheBytesAreCut)
{
    const size_t line = MessageInput::maxLineLength;
    struct Case {
        const char* label;
        std::string bytes;
        Status expected;
    };
    // The limit counts the line's bytes before the line feed, a carriage return included.
    const std::string longest = "-" + std::string(line - 1, 'x') + "\n";
    const Case cases[] = {
        { "longest line", longest, Status::Ok },
        { "one byte more", "-" + std::string(line, 'x') + "\n", Status::LineTooLong },
        { "carriage return", "-" + std::string(line - 1, 'x') + "\r\n", Status::LineTooLong },
        { "unterminated", "+" + std::string(line, 'x'), Status::LineTooLong },
        { "many short messages",
            [] {
                std::string s;
                for (int i = 0; i < 40; ++i)
                    s += "+" + std::string(60000, 'm') + "\n-end\n";
                return s;
            }(),
            Status::Ok },
        { "one long message",
            [] {
                std::string s;
                for (int i = 0; i < 18; ++i)
                    s += "+" + std::string(60000, 'm') + "\n";
                return s;
            }(),
            Status::MessageTooLong },
        // Every line costs its bookkeeping too: 2-byte lines cost 50 bytes each.
        { "tiny lines within the limit", repeated("+\n", 20000) + "-\n", Status::Ok },
        { "tiny lines past the limit", repeated("+\n", 21000), Status::MessageTooLong },
        { "tiny lines ended past the limit", repeated("+\n", 20971) + "-\n",
            Status::MessageTooLong },
    };
    for (const Case& c : cases) {
        for (size_t piece : { size_t(1) << 30, size_t(4096), size_t(7) }) {
            MessageInput input(1024 * 1024);
            Status status = Status::Ok;
            for (size_t at = 0; at < c.bytes.size() && status == Status::Ok; at += piece)
                status = input.feed(std::string_view(c.bytes).substr(at, piece));
            EXPECT_EQ(status, c.expected) << c.label << " in pieces of " << piece;
            // Once refused, nothing more is taken.
            if (status != Status::Ok) {
                EXPECT_EQ(input.feed("-NOP\n"), status);
            }
        }
    }
}

TEST(MessageInputTest, MessagesComeOutWhole)
{
    MessageInput input;
    ASSERT_EQ(input.feed("+TELL\n+bob\n-hi\r\n-NOP\n+PAR"), Status::Ok);
    StringList m;
    ASSERT_EQ(input.next(m), MessageReader::Result::Message);
    EXPECT_EQ(m, StringList({ "TELL", "bob", "hi" }));
    ASSERT_EQ(input.next(m), MessageReader::Result::Message);
    EXPECT_EQ(m, StringList({ "NOP" }));
    EXPECT_EQ(input.next(m), MessageReader::Result::NoMessage);
    ASSERT_EQ(input.feed("TIAL\nbad\n-x\n"), Status::Ok);
    EXPECT_EQ(input.next(m), MessageReader::Result::ProtocolError);
}

TEST(ServerLogTest, NetworkBytesAreMadePrintableAndShort)
{
    EXPECT_EQ(printable("alice"), "alice");
    EXPECT_EQ(printable("a\nb\\c\x95"), "a\\x0ab\\x5cc\\x95");
    EXPECT_EQ(printable(std::string(100, 'x'), 10), std::string(10, 'x') + "...");
}

} // namespace
