#include "net/chattext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string colon = "\x81\x46"; // "：" in CP932

TEST(ChatText, ContinuationLinesStartUnderTheFirstLinesText)
{
    struct Case {
        std::string sender;
        std::vector<std::string> lines;
        std::string expected;
    };
    const std::string kanjiName = "\x88\xc8\x8f\xe3"; // two double-byte characters: 4 bytes
    const Case cases[] = {
        { "ab", { "x", "y" }, "ab" + colon + " x\r\n     y\r\n" },
        { "ab", {}, "" },
        { "ab", { "" }, "ab" + colon + " \r\n" },
        { "a", { "1", "", "3" }, "a" + colon + " 1\r\n    \r\n    3\r\n" },
        // The width is the name's length in bytes, not in characters.
        { kanjiName, { "x", "y" }, kanjiName + colon + " x\r\n       y\r\n" },
        { "", { "x", "y" }, colon + " x\r\n   y\r\n" },
    };
    for (const Case& c : cases) {
        StringList lines;
        for (const std::string& line : c.lines)
            lines.append(line);
        EXPECT_EQ(chatMessageText(c.sender, lines), c.expected) << c.sender;
    }
}

TEST(ChatText, PingDelayShowsHundredthsOfBothSides)
{
    struct Case {
        uint32_t now;
        int32_t tick;
        int32_t delay;
        const char* own;
        const char* peer;
    };
    const Case cases[] = {
        { 11234, 10000, 250, "0.98", "0.25" },
        { 10100, 10000, 250, "0.00", "0.25" }, // the own side is never negative
        { 13009, 10000, 0, "3.00", "0.00" }, // below a hundredth is dropped
        { 10000, 10000, 1999, "0.00", "1.99" },
        // The tick went out as "%d" of 32 bits and came back negative; the counter wrapped since.
        { 500, -1000, 100, "1.40", "0.10" },
    };
    for (const Case& c : cases) {
        // "遅延： 自分側 - own 秒、相手側 - peer 秒": the own side first.
        const std::string text = pingDelayText(c.now, c.tick, c.delay);
        const size_t own = text.find(std::string("- ") + c.own + " ");
        ASSERT_NE(own, std::string::npos) << text;
        EXPECT_NE(text.find(std::string("- ") + c.peer + " ", own + 1), std::string::npos) << text;
    }
    EXPECT_EQ(idleTimeText(0), "0 \x95\x62");
    EXPECT_EQ(idleTimeText(3600), "3600 \x95\x62");
}

} // namespace
