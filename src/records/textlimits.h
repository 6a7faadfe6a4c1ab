#pragma once

#include <string_view>

// The longest prefix of a CP932 text that fits in maxBytes without splitting a two-byte
// character. Length fields in the collection file and the record line bound names and comments.
std::string_view clipText(std::string_view text, size_t maxBytes);

// Folder, record, share and player names and share comments are carried with one-byte lengths.
inline constexpr size_t kMaxNameBytes = 255;

// A name as the library keeps it: cut to kMaxNameBytes at a character boundary. A name entering
// the library is fitted before it is compared with the names there, so that what is checked is
// what is stored.
std::string_view fitName(std::string_view name);

// Takes the next piece of text as a C line reader with a buffer of maxBytes + 1 bytes returns it:
// up to and including the next LF, or maxBytes bytes of a longer line, the rest of which comes as
// the next piece. The piece ends at a NUL byte, as a C string would.
std::string_view takeLine(std::string_view& text, size_t maxBytes);
