#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kana {

// Appends the character at text[at] (and the marks that belong to it) in plain Latin letters when
// it is kana (Hepburn spelling, a word's first letter capitalised), a full-width letter, digit or
// sign, or a full-width space; at moves past what was read. False, with nothing read, for any
// other character.
bool appendLatin(std::string& out, std::u32string_view text, size_t& at);

} // namespace kana
