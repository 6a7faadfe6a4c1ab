#include "text/cp932.h"
#include "text/texts.h"

#include <gtest/gtest.h>

namespace {

std::string bytes(std::initializer_list<unsigned> values)
{
    std::string s;
    for (unsigned v : values)
        s += static_cast<char>(v);
    return s;
}

struct KnownCharacter {
    const char* utf8;
    std::string cp932;
};

void PrintTo(const KnownCharacter& c, std::ostream* os)
{
    *os << c.utf8;
}

// Characters where Windows-31J differs from strict Shift_JIS or from other converters.
class Cp932KnownCharacters : public testing::TestWithParam<KnownCharacter> { };

TEST_P(Cp932KnownCharacters, ConvertBothWays)
{
    const KnownCharacter& c = GetParam();
    EXPECT_EQ(cp932::fromUtf8(c.utf8), c.cp932);
    EXPECT_EQ(cp932::toUtf8(c.cp932), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(Windows31J, Cp932KnownCharacters,
    testing::Values(KnownCharacter { "～", bytes({ 0x81, 0x60 }) },
        KnownCharacter { "－", bytes({ 0x81, 0x7C }) },
        KnownCharacter { "①", bytes({ 0x87, 0x40 }) },
        KnownCharacter { "髙", bytes({ 0xFB, 0xFC }) },
        KnownCharacter { "表", bytes({ 0x95, 0x5C }) },
        KnownCharacter { "不明", bytes({ 0x95, 0x73, 0x96, 0xBE }) },
        KnownCharacter { "ABC\\~", "ABC\\~" }));

TEST(Cp932, HalfWidthKatakanaAreSingleBytes)
{
    const std::string encoded = cp932::fromUtf8("ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ");
    ASSERT_EQ(encoded.size(), 14u);
    for (char c : encoded) {
        const auto b = static_cast<unsigned char>(c);
        EXPECT_TRUE(b == 0x20 || (b >= 0xA1 && b <= 0xDF)) << std::hex << unsigned(b);
    }
    EXPECT_EQ(cp932::toUtf8(encoded), "ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ");
}

TEST(Cp932, InvalidInputBecomesReplacementCharacters)
{
    // A lead byte at the end of the input.
    EXPECT_EQ(cp932::toUtf8(bytes({ 'A', 0x81 })), "A\xEF\xBF\xBD");
    // A lone lead byte followed by a byte that cannot be a trail byte: the next byte survives.
    EXPECT_EQ(cp932::toUtf8(bytes({ 0x81, 'A' - 0x20 })), "\xEF\xBF\xBD!");
    // An undefined pair is one replacement character.
    EXPECT_EQ(cp932::toUtf8(bytes({ 0x85, 0x40, 'x' })), "\xEF\xBF\xBDx");
    // Single bytes with no character.
    EXPECT_EQ(cp932::toUtf8(bytes({ 0x80, 0xA0, 0xFD })), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(cp932::toUtf8(std::string_view()), "");
}

TEST(Cp932, UnencodableUnicodeBecomesOneQuestionMarkPerCharacter)
{
    EXPECT_EQ(cp932::fromUtf8("a€b😀c"), "a?b?c");
    // Malformed UTF-8: a lone continuation byte, a truncated sequence, an overlong form.
    EXPECT_EQ(cp932::fromUtf8("\x80x"), "?x");
    EXPECT_EQ(cp932::fromUtf8("x\xE3\x81"), "x??");
    EXPECT_EQ(cp932::fromUtf8("\xC0\xAF"), "??");
}

TEST(Cp932, EveryDefinedPairRoundTripsThroughUnicode)
{
    // Round trip from CP932 holds for every pair that the table maps back to itself; the NEC and
    // IBM duplicates map to one chosen form, so only those may differ.
    int checked = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!cp932::isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string pair = bytes({ lead, trail });
            const std::string utf8 = cp932::toUtf8(pair);
            if (utf8.find("\xEF\xBF\xBD") != std::string::npos)
                continue;
            const std::string back = cp932::fromUtf8(utf8);
            EXPECT_EQ(cp932::toUtf8(back), utf8);
            ++checked;
        }
    }
    EXPECT_GT(checked, 7000);
}

TEST(FixedTexts, AreCp932Bytes)
{
    EXPECT_EQ(texts::unknownPlayer.bytes(), bytes({ 0x95, 0x73, 0x96, 0xBE }));
    const std::string& root = texts::networkRoot;
    EXPECT_EQ(root.size(), 14u);
    EXPECT_EQ(&texts::trashRoot.bytes(), &texts::trashRoot.bytes());
}

} // namespace

// Files that hold only ISO 8859-1 get kana in Hepburn spelling and full-width letters as plain
// ones; only what has no spelling of its own (kanji) becomes "?".
TEST(Cp932, ToLatin1SpellsKanaAndFullWidthLetters)
{
    const struct {
        const char* utf8;
        const char* latin1;
    } cases[] = {
        { "たなか　ひろし", "Tanaka Hiroshi" },
        { "きょうこ", "Kyoko" },
        { "しゃちょう", "Shacho" },
        { "じゅん", "Jun" },
        { "はっとり", "Hattori" },
        { "まっちゃ", "Matcha" },
        { "ユースケ", "Yusuke" },
        { "ファイル", "Fairu" },
        { "ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ", "Nettowaku Konpyuta" },
        { "ｶﾞｲﾄﾞ", "Gaido" },
        { "ＡＢＣ１２", "ABC12" },
        { "Anne 田中", "Anne ??" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(cp932::toLatin1(cp932::fromUtf8(c.utf8)), c.latin1) << c.utf8;
}
