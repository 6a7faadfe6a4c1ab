#include "capture/namefont.h"
#include "capture/picture.h"
#include "capture/tablepicture.h"
#include "capture/tablereader.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::string readWritten(std::string_view name, int offset = 0)
{
    Picture box(namefont::kBoxWidth, namefont::kBoxHeight, { 255, 255, 255 });
    tablepicture::drawName(box, offset, 0, name);
    return namefont::read(box.pixels());
}

TEST(NameFont, HasSixtyWellFormedGlyphs)
{
    const auto glyphs = namefont::glyphs();
    ASSERT_EQ(glyphs.size(), 60u);
    std::set<char> seen;
    for (const Glyph& glyph : glyphs) {
        SCOPED_TRACE(glyph.character);
        EXPECT_TRUE(seen.insert(glyph.character).second);
        EXPECT_GE(glyph.width, 3);
        EXPECT_LE(glyph.width, 8);
        for (const uint8_t row : glyph.rows)
            EXPECT_EQ(row & (0xFF >> glyph.width), 0) << "a set column beyond the width";
    }
    EXPECT_EQ(glyphs.front().character, '_');
    for (const char missing : { 'J', 'W', 'X' })
        EXPECT_EQ(namefont::find(missing), nullptr);
}

TEST(NameFont, ReadsEveryGlyphAloneAndInAName)
{
    for (const Glyph& glyph : namefont::glyphs()) {
        const std::string one(1, glyph.character);
        EXPECT_EQ(readWritten(one), one);
        EXPECT_EQ(readWritten(one, 30), one) << "anywhere in the box";
        const std::string framed = "Ab" + one + "9z";
        EXPECT_EQ(readWritten(framed), framed);
    }
}

TEST(NameFont, ReadsNames)
{
    const struct {
        const char* written;
        const char* read;
    } cases[] = {
        { "", "" },
        { "kano_1975", "kano_1975" },
        { "alice", "alice" },
        { "Bob99", "Bob99" },
        { "dave", "dave" },
        // Glyphs stand side by side without a gap, so r followed by o shows the pixels of n,
        // which is tried first.
        { "taro", "tan" },
        { "carl", "carl" },
        { "OthelloKING", "OthelloKING" },
        // No glyph for J, W or X: the gap they leave is skipped.
        { "Jack", "ack" },
        { "WaXy", "ay" },
        { "abcdefghijklmnopq", "abcdefghijklmnopq" },
        // Reading stops at column 76: a glyph starting there or later is not read.
        { "mmmmmmmmmmmmmmmll", "mmmmmmmmmmmmmmml" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(readWritten(c.written), c.read) << c.written;
}

TEST(NameFont, DarkMeansBelowEightInEveryChannel)
{
    EXPECT_TRUE(namefont::isDark({ 7, 7, 7 }));
    EXPECT_FALSE(namefont::isDark({ 8, 0, 0 }));
    EXPECT_FALSE(namefont::isDark({ 0, 8, 0 }));
    EXPECT_FALSE(namefont::isDark({ 0, 0, 8 }));
    // Noise that is still dark or still light reads the same.
    Picture box(namefont::kBoxWidth, namefont::kBoxHeight, { 250, 240, 200 });
    tablepicture::drawName(box, 0, 0, "abc");
    for (int y = 0; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x)
            if (box.at(x, y) == Rgb { 0, 0, 0 })
                box.set(x, y, { 5, 7, 3 });
    EXPECT_EQ(namefont::read(box.pixels()), "abc");
}

TEST(NameFont, AShortBoxOrAnUnreadableOneGivesNoName)
{
    const std::vector<Rgb> tooSmall(10);
    EXPECT_EQ(namefont::read(tooSmall), "");
    Picture picture(100, 100, { 255, 255, 255 });
    EXPECT_EQ(tablereader::readName(picture, 50, 95), "") << "the box reaches outside";
    EXPECT_EQ(tablereader::readName(picture, -1, 0), "");
}

} // namespace
