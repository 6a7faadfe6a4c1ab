#include "text/kanaromaji.h"

#include <array>

namespace kana {
namespace {

// Hiragana from U+3041 (small a) to U+3096 (small ke); small tsu is empty, as it doubles what
// follows.
constexpr std::array<const char*, 0x3097 - 0x3041> kSyllables = {
    "a", "a", "i", "i", "u", "u", "e", "e", "o", "o", //
    "ka", "ga", "ki", "gi", "ku", "gu", "ke", "ge", "ko", "go", //
    "sa", "za", "shi", "ji", "su", "zu", "se", "ze", "so", "zo", //
    "ta", "da", "chi", "ji", "", "tsu", "zu", "te", "de", "to", "do", //
    "na", "ni", "nu", "ne", "no", //
    "ha", "ba", "pa", "hi", "bi", "pi", "fu", "bu", "pu", "he", "be", "pe", "ho", "bo", "po", //
    "ma", "mi", "mu", "me", "mo", //
    "ya", "ya", "yu", "yu", "yo", "yo", //
    "ra", "ri", "ru", "re", "ro", //
    "wa", "wa", "i", "e", "o", "n", "vu", "ka", "ke", //
};

// Half-width katakana from U+FF66 to U+FF9D as full-width katakana.
constexpr std::u32string_view kHalfWidth
    = U"ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメ"
      U"モヤユヨラリルレロワン";

static_assert(kHalfWidth.size() == 0xFF9E - 0xFF66);

constexpr char32_t kSmallTsu = U'っ';
constexpr char32_t kLongVowel = U'ー';

bool isSmallVowel(char32_t c)
{
    return c == U'ぁ' || c == U'ぃ' || c == U'ぅ' || c == U'ぇ' || c == U'ぉ';
}

bool isSmallY(char32_t c)
{
    return c == U'ゃ' || c == U'ゅ' || c == U'ょ';
}

bool isVowel(char c)
{
    return c == 'a' || c == 'i' || c == 'u' || c == 'e' || c == 'o';
}

// The kana at text[at] as hiragana, its marks taken along; 0 when it is not kana.
char32_t hiraganaAt(std::u32string_view text, size_t& at)
{
    char32_t c = text[at];
    if (c >= 0xFF66 && c <= 0xFF9D) {
        c = kHalfWidth[c - 0xFF66];
        // The voiced marks of half-width kana are characters of their own.
        if (at + 1 < text.size() && (text[at + 1] == 0xFF9E || text[at + 1] == 0xFF9F)) {
            const bool round = text[at + 1] == 0xFF9F;
            const bool voicable = (c >= U'カ' && c <= U'ト') || (c >= U'ハ' && c <= U'ホ');
            if (c == U'ウ' && !round) {
                c = U'ヴ';
                ++at;
            } else if (voicable && (!round || c >= U'ハ')) {
                c += round ? 2 : 1;
                ++at;
            }
        }
    }
    if (c >= 0x30A1 && c <= 0x30F6)
        c -= 0x60;
    if ((c >= 0x3041 && c <= 0x3096) || c == kLongVowel || c == U'・')
        return c;
    return 0;
}

void appendSyllable(std::string& out, char32_t c, bool& doubleNext)
{
    if (c == kSmallTsu) {
        doubleNext = true;
        return;
    }
    if (c == kLongVowel)
        return; // long vowels are written short, as names usually are
    if (c == U'・') {
        out += ' ';
        return;
    }
    std::string syllable = kSyllables[c - 0x3041];
    if (isSmallY(c) && out.size() >= 2 && out.back() == 'i') {
        // きゃ is kya, but しゃ, ちゃ and じゃ are sha, cha and ja.
        out.pop_back();
        const char before = char(out.back() | 0x20);
        if (before != 'h' && before != 'j')
            out += 'y';
        out += syllable.back();
        return;
    }
    if (isSmallVowel(c) && !out.empty() && isVowel(out.back())) {
        out.back() = syllable.front(); // ファ is fa, ティ is ti
        return;
    }
    // おう and うう are a long o and a long u, written short as in passports.
    if (syllable == "u" && !out.empty() && (out.back() == 'o' || out.back() == 'u')) {
        doubleNext = false;
        return;
    }
    if (doubleNext && !syllable.empty() && !isVowel(syllable.front()))
        out += syllable.front() == 'c' ? 't' : syllable.front();
    doubleNext = false;
    const bool wordStart = out.empty() || out.back() == ' ';
    if (wordStart && !syllable.empty())
        syllable.front() = char(syllable.front() - 'a' + 'A');
    out += syllable;
}

} // namespace

bool appendLatin(std::string& out, std::u32string_view text, size_t& at)
{
    const char32_t c = text[at];
    if (c >= 0xFF01 && c <= 0xFF5E) {
        out += char(c - 0xFEE0);
        ++at;
        return true;
    }
    if (c == 0x3000) {
        out += ' ';
        ++at;
        return true;
    }
    size_t next = at;
    if (!hiraganaAt(text, next))
        return false;
    bool doubleNext = false;
    // A run of kana at once, so that small kana and doubling reach across syllables.
    while (at < text.size()) {
        next = at;
        const char32_t kana = hiraganaAt(text, next);
        if (!kana)
            break;
        appendSyllable(out, kana, doubleNext);
        at = next + 1;
    }
    return true;
}

} // namespace kana
