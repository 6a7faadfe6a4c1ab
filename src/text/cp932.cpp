#include "text/cp932.h"

#include "text/kanaromaji.h"

#include <array>
#include <cstdint>
#include <iconv.h>
#include <memory>

namespace cp932 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr uint16_t kNoCode = 0xFFFF;

// Both directions are tabulated once from glibc's "CP932" converter (its "SHIFT_JIS" is strict
// JIS and lacks the Microsoft and NEC/IBM characters), so every later call is a table walk.
struct Tables {
    // Indexed by the byte (single) or by lead << 8 | trail; 0xFFFF where undefined.
    std::array<uint16_t, 65536> toUnicode;
    // Indexed by a BMP code point; kNoCode where CP932 has no form.
    std::array<uint16_t, 65536> fromUnicode;
};

// Converts one sequence with iconv; returns false unless the whole input converted.
bool convert(iconv_t cd, const char* in, size_t inLength, char* out, size_t& outLength)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in);
    char* outPtr = out;
    size_t inLeft = inLength;
    size_t outLeft = outLength;
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft)
        return false;
    outLength = outLength - outLeft;
    return true;
}

void buildTables(Tables& t)
{
    t.toUnicode.fill(kNoCode);
    t.fromUnicode.fill(kNoCode);
    iconv_t decoder = iconv_open("UTF-16LE", "CP932");
    iconv_t encoder = iconv_open("CP932", "UTF-16LE");
    if (decoder == reinterpret_cast<iconv_t>(-1) || encoder == reinterpret_cast<iconv_t>(-1)) {
        // Without the converter only ASCII can be trusted.
        for (unsigned c = 0; c < 0x80; ++c) {
            t.toUnicode[c] = static_cast<uint16_t>(c);
            t.fromUnicode[c] = static_cast<uint16_t>(c);
        }
        return;
    }
    auto decode = [&](const char* bytes, size_t length) -> uint16_t {
        char out[8];
        size_t outLength = sizeof out;
        if (!convert(decoder, bytes, length, out, outLength) || outLength != 2)
            return kNoCode;
        return static_cast<uint16_t>(
            static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1]) << 8);
    };
    for (unsigned c = 0; c < 0x100; ++c) {
        if (isLeadByte(static_cast<unsigned char>(c)))
            continue;
        const char byte = static_cast<char>(c);
        t.toUnicode[c] = decode(&byte, 1);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const char pair[2] = { static_cast<char>(lead), static_cast<char>(trail) };
            t.toUnicode[lead << 8 | trail] = decode(pair, 2);
        }
    }
    for (unsigned u = 0; u < 0x10000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue;
        const char in[2] = { static_cast<char>(u & 0xFF), static_cast<char>(u >> 8) };
        char out[8];
        size_t outLength = sizeof out;
        if (!convert(encoder, in, 2, out, outLength) || outLength == 0 || outLength > 2)
            continue;
        const unsigned first = static_cast<unsigned char>(out[0]);
        t.fromUnicode[u] = static_cast<uint16_t>(
            outLength == 1 ? first : (first << 8 | static_cast<unsigned char>(out[1])));
    }
    iconv_close(decoder);
    iconv_close(encoder);
}

const Tables& tables()
{
    static const std::unique_ptr<Tables> instance = [] {
        auto t = std::make_unique<Tables>();
        buildTables(*t);
        return t;
    }();
    return *instance;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Reads one UTF-8 character at text[i]; advances i past it (past one byte when malformed).
// Returns kReplacement for malformed input, which the caller encodes as "?".
char32_t readUtf8(std::string_view text, size_t& i)
{
    const unsigned char first = static_cast<unsigned char>(text[i++]);
    if (first < 0x80)
        return first;
    int extra;
    char32_t c;
    if (first >= 0xC2 && first <= 0xDF) {
        extra = 1;
        c = first & 0x1F;
    } else if (first >= 0xE0 && first <= 0xEF) {
        extra = 2;
        c = first & 0x0F;
    } else if (first >= 0xF0 && first <= 0xF4) {
        extra = 3;
        c = first & 0x07;
    } else {
        return kReplacement;
    }
    size_t j = i;
    for (int k = 0; k < extra; ++k, ++j) {
        if (j >= text.size() || (static_cast<unsigned char>(text[j]) & 0xC0) != 0x80)
            return kReplacement;
        c = c << 6 | (static_cast<unsigned char>(text[j]) & 0x3F);
    }
    const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kReplacement;
    i = j;
    return c;
}

} // namespace

std::string toUtf8(std::string_view bytes)
{
    const Tables& t = tables();
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        uint16_t u = kNoCode;
        if (isLeadByte(c)) {
            if (i + 1 < bytes.size()) {
                const unsigned char trail = static_cast<unsigned char>(bytes[i + 1]);
                u = t.toUnicode[c << 8 | trail];
                // A pair whose second byte could be a trail byte is one undefined character;
                // otherwise the lead byte stands alone and the next byte is read afresh.
                i += (u != kNoCode || (trail >= 0x40 && trail <= 0xFC && trail != 0x7F)) ? 2 : 1;
            } else {
                ++i;
            }
        } else {
            u = t.toUnicode[c];
            ++i;
        }
        appendUtf8(out, u == kNoCode ? kReplacement : u);
    }
    return out;
}

std::string fromUtf8(std::string_view utf8)
{
    const Tables& t = tables();
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const char32_t c = readUtf8(utf8, i);
        const uint16_t code = c < 0x10000 ? t.fromUnicode[c] : kNoCode;
        if (code == kNoCode) {
            out += '?';
        } else if (code > 0xFF) {
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        } else {
            out += static_cast<char>(code);
        }
    }
    return out;
}

namespace {

// The nearest plain letters of U+00C0 … U+017F (Latin-1 Supplement letters and Latin Extended-A),
// which is where the accented letters of European player names live.
constexpr const char* kPlainLetters[] = {
    "A",
    "A",
    "A",
    "A",
    "A",
    "A",
    "AE",
    "C",
    "E",
    "E",
    "E",
    "E",
    "I",
    "I",
    "I",
    "I",
    "D",
    "N",
    "O",
    "O",
    "O",
    "O",
    "O",
    "x",
    "O",
    "U",
    "U",
    "U",
    "U",
    "Y",
    "Th",
    "ss",
    "a",
    "a",
    "a",
    "a",
    "a",
    "a",
    "ae",
    "c",
    "e",
    "e",
    "e",
    "e",
    "i",
    "i",
    "i",
    "i",
    "d",
    "n",
    "o",
    "o",
    "o",
    "o",
    "o",
    "",
    "o",
    "u",
    "u",
    "u",
    "u",
    "y",
    "th",
    "y",
    "A",
    "a",
    "A",
    "a",
    "A",
    "a",
    "C",
    "c",
    "C",
    "c",
    "C",
    "c",
    "C",
    "c",
    "D",
    "d",
    "D",
    "d",
    "E",
    "e",
    "E",
    "e",
    "E",
    "e",
    "E",
    "e",
    "E",
    "e",
    "G",
    "g",
    "G",
    "g",
    "G",
    "g",
    "G",
    "g",
    "H",
    "h",
    "H",
    "h",
    "I",
    "i",
    "I",
    "i",
    "I",
    "i",
    "I",
    "i",
    "I",
    "i",
    "IJ",
    "ij",
    "J",
    "j",
    "K",
    "k",
    "k",
    "L",
    "l",
    "L",
    "l",
    "L",
    "l",
    "L",
    "l",
    "L",
    "l",
    "N",
    "n",
    "N",
    "n",
    "N",
    "n",
    "n",
    "N",
    "n",
    "O",
    "o",
    "O",
    "o",
    "O",
    "o",
    "OE",
    "oe",
    "R",
    "r",
    "R",
    "r",
    "R",
    "r",
    "S",
    "s",
    "S",
    "s",
    "S",
    "s",
    "S",
    "s",
    "T",
    "t",
    "T",
    "t",
    "T",
    "t",
    "U",
    "u",
    "U",
    "u",
    "U",
    "u",
    "U",
    "u",
    "U",
    "u",
    "U",
    "u",
    "W",
    "w",
    "Y",
    "y",
    "Y",
    "Z",
    "z",
    "Z",
    "z",
    "Z",
    "z",
    "s",
};

// The plain-letter spelling of c, or nullptr when it has none.
const char* plainLetters(char32_t c)
{
    if (c >= 0xC0 && c < 0x180 && *kPlainLetters[c - 0xC0])
        return kPlainLetters[c - 0xC0];
    return nullptr;
}

void appendCode(std::string& out, uint16_t code)
{
    if (code > 0xFF)
        out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
}

void appendTransliterated(std::string& out, char32_t c)
{
    const uint16_t code = c < 0x10000 ? tables().fromUnicode[c] : kNoCode;
    if (code != kNoCode && c != kReplacement)
        appendCode(out, code);
    else if (const char* plain = plainLetters(c))
        out += plain;
}

} // namespace

std::string fromUtf8Transliterated(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();)
        appendTransliterated(out, readUtf8(utf8, i));
    return out;
}

std::string fromLatin1Transliterated(std::string_view latin1)
{
    std::string out;
    out.reserve(latin1.size());
    for (unsigned char c : latin1)
        appendTransliterated(out, c);
    return out;
}

std::string toLatin1(std::string_view cp932Bytes)
{
    const std::string utf8 = toUtf8(cp932Bytes);
    std::u32string text;
    for (size_t i = 0; i < utf8.size();)
        text += readUtf8(utf8, i);
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < text.size();) {
        const char32_t c = text[i];
        if (kana::appendLatin(out, text, i))
            continue;
        ++i;
        if (c < 0x100)
            out += static_cast<char>(c);
        else if (const char* plain = plainLetters(c))
            out += plain;
        else
            out += '?';
    }
    return out;
}

bool isUtf8(std::string_view bytes)
{
    for (size_t i = 0; i < bytes.size();) {
        const size_t at = i;
        if (readUtf8(bytes, i) == kReplacement && !(bytes.substr(at, 3) == "\xEF\xBF\xBD"))
            return false;
    }
    return true;
}

} // namespace cp932
