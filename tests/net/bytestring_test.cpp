#include "itemsof.h"
#include "net/bytestring.h"
#include "net/stringlist.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

TEST(ByteString, PointerAndLengthConstruction)
{
    const char bytes[] = "ab\0cd";
    EXPECT_EQ(ByteString(nullptr, 5), "");
    EXPECT_EQ(ByteString(bytes, 0), "");
    EXPECT_EQ(ByteString(bytes, -1), "ab");
    EXPECT_EQ(ByteString(bytes, 5), std::string_view(bytes, 5));
    EXPECT_EQ(ByteString(bytes, 5).length(), 5);
    // The bytes always stay terminated, also for the empty string.
    EXPECT_NE(ByteString().data(), nullptr);
    EXPECT_EQ(ByteString().data()[0], '\0');
    EXPECT_EQ(ByteString(bytes, 2).data()[2], '\0');
}

TEST(ByteString, ReadingOutsideTheBytesYieldsZero)
{
    const ByteString s("\x82\xa0z");
    EXPECT_EQ(s.at(0), 0x82);
    EXPECT_EQ(s.at(2), 'z');
    EXPECT_EQ(s.at(3), 0);
    EXPECT_EQ(s.at(-1), 0);
    EXPECT_EQ(ByteString().at(0), 0);
}

TEST(ByteString, CopyIsIndependent)
{
    ByteString a("abc");
    ByteString b;
    b = a;
    a.unescape();
    a = ByteString("x");
    EXPECT_EQ(b, "abc");
}

TEST(ByteString, Unescape)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        { "a\\,b\\\\c\\", "a,b\\c" },
        { "\\", "" },
        { "\\\\\\\\", "\\\\" },
        { "plain", "plain" },
        { "\\n", "n" },
        { "", "" },
    };
    for (const Case& c : cases) {
        ByteString s(c.in);
        s.unescape();
        EXPECT_EQ(s, c.out) << c.in;
    }
}

TEST(ByteString, Blank)
{
    EXPECT_TRUE(isBlank(""));
    EXPECT_TRUE(isBlank(" \t  "));
    EXPECT_FALSE(isBlank("  a"));
    EXPECT_FALSE(isBlank("\r\n"));
    EXPECT_FALSE(isBlank("\x81\x40")); // the full-width space is not blank
}

TEST(ByteString, TrimWhiteSpace)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        { "", "" }, { " \t\r\n", "" }, { "a", "a" }, { "  a b\t\r\n", "a b" },
        { "\r\nx\ny\r\n", "x\ny" },
        { "\x81\x40"
          "a\x81\x40",
            "\x81\x40"
            "a\x81\x40" }, // full-width spaces stay
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(trimWhiteSpace(in), out) << in;
}

TEST(StringList, ItemOutsideTheListIsTheSharedEmptyString)
{
    StringList list { "a" };
    EXPECT_EQ(list.item(0), "a");
    EXPECT_EQ(list.item(1), "");
    EXPECT_EQ(list.item(-1), "");
    EXPECT_EQ(&list.item(5), &StringList().item(0));
}

TEST(StringList, AppendReturnsTheNewCount)
{
    StringList list;
    EXPECT_EQ(list.append("ab\0c", -1), 1);
    EXPECT_EQ(list.append("ab\0c", 4), 2);
    EXPECT_EQ(list.append(std::string_view("xy")), 3);
    EXPECT_EQ(list.appendInteger(-42), 4);
    EXPECT_EQ(list.appendInteger(2147483647), 5);
    EXPECT_EQ(itemsOf(list),
        (std::vector<std::string> { "ab", std::string("ab\0c", 4), "xy", "-42", "2147483647" }));
    list.clear();
    EXPECT_EQ(list.count(), 0);
}

TEST(StringList, FindIsExactAndCaseSensitive)
{
    const StringList list { "login", "LOGIN", "LOGIN" };
    EXPECT_EQ(list.find("LOGIN"), 1);
    EXPECT_EQ(list.find("login"), 0);
    EXPECT_EQ(list.find("LOGI"), -1);
    EXPECT_EQ(list.find("Login"), -1);
}

TEST(StringList, RemoveRange)
{
    struct Case {
        int32_t start, end, result;
        std::vector<std::string> left;
    } cases[] = {
        { 1, 2, 2, { "a", "d" } },
        { 0, 3, 0, {} },
        { 2, 2, 3, { "a", "b", "d" } },
        { -1, 2, -1, { "a", "b", "c", "d" } },
        { 0, -1, -1, { "a", "b", "c", "d" } },
        { 4, 4, -1, { "a", "b", "c", "d" } },
        { 0, 4, -1, { "a", "b", "c", "d" } },
    };
    for (const Case& c : cases) {
        StringList list { "a", "b", "c", "d" };
        EXPECT_EQ(list.removeRange(c.start, c.end), c.result) << c.start << ".." << c.end;
        EXPECT_EQ(itemsOf(list), c.left) << c.start << ".." << c.end;
    }
}

TEST(StringList, Split)
{
    struct Case {
        std::string text;
        char separator;
        int32_t maxFields;
        std::vector<std::string> items;
    } cases[] = {
        { "a,,b,", ',', -1, { "a", "", "b" } },
        { "", ',', -1, {} },
        { "\\x\\", '\\', -1, { "", "x" } },
        { ",", ',', -1, { "" } },
        { ",,", ',', -1, { "", "" } },
        { "abc", ',', -1, { "abc" } },
        { "a,b,c,d", ',', 2, { "a", "b,c,d" } },
        { "a,b,c,d", ',', 3, { "a", "b", "c,d" } },
        { "a,b,", ',', 3, { "a", "b" } },
        { "a,b,c", ',', 1, { "a", "b", "c" } },
        { "a,b,c", ',', 0, { "a", "b", "c" } },
        // 0x5C is also the second byte of some double-byte characters; the split is by bytes.
        { "\\\x95\x5C\x8E\xA6\\", '\\', -1, { "", "\x95", "\x8E\xA6" } },
    };
    for (const Case& c : cases) {
        StringList list { "old" };
        EXPECT_EQ(
            list.split(c.text, c.separator, c.maxFields), static_cast<int32_t>(c.items.size()))
            << c.text;
        EXPECT_EQ(itemsOf(list), c.items) << c.text;
    }
}
