#pragma once

#include <cstdint>
#include <string_view>

// A number inside a message item: optional white space, an optional sign, then decimal digits;
// anything after the digits is ignored and no digits read as 0. Values beyond the 32-bit range
// stop at its ends.
int32_t readNumber(std::string_view text);
