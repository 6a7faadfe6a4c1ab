#pragma once

#include <string>
#include <string_view>

// The one conversion between code page 932 (Windows-31J) bytes and Unicode. The core keeps every
// text as CP932 bytes; only the Qt boundary and the CLI's JSON output call these.
//
// Decoding never fails: a lone lead byte, a lead byte at the end or an undefined pair becomes
// U+FFFD. Encoding never fails: a character with no CP932 form (or a malformed UTF-8 sequence)
// becomes one "?".
namespace cp932 {

std::string toUtf8(std::string_view cp932Bytes);
std::string fromUtf8(std::string_view utf8);

// For names from outside sources: like fromUtf8, but a Latin letter that CP932 lacks becomes its
// nearest plain letter (é → e, ß → ss, Ł → L) and any other character CP932 lacks is left out, so
// the result never holds a "?" that the source did not.
std::string fromUtf8Transliterated(std::string_view utf8);
// Each byte taken as an ISO 8859-1 character, then as fromUtf8Transliterated.
std::string fromLatin1Transliterated(std::string_view latin1);
// CP932 text as ISO 8859-1 bytes for files that hold nothing else: characters beyond it become
// their nearest plain letters where they have them (kana in Hepburn spelling, full-width letters
// as plain ones), else "?".
std::string toLatin1(std::string_view cp932Bytes);
// True when the bytes are well-formed UTF-8.
bool isUtf8(std::string_view bytes);

// True for the bytes that start a two-byte CP932 character (81–9F, E0–FC).
constexpr bool isLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

} // namespace cp932
