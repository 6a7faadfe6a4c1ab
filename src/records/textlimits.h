#pragma once

#include <string_view>

// The longest prefix of a CP932 text that fits in maxBytes without splitting a two-byte
// character. Length fields in the collection file and the record line bound names and comments.
std::string_view clipText(std::string_view text, size_t maxBytes);
