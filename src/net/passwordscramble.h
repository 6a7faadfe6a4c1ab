#pragma once

#include <string>
#include <string_view>

// The password as kept in the "passwd" setting: each byte's complement (255 - b) as two
// lower-case hexadecimal digits, so the stored text is twice as long as the password. It hides
// the password from a glance, nothing more. No length limit applies either way.
std::string scramblePassword(std::string_view password);
// The reverse: the digits taken in pairs, each pair read as a hexadecimal byte (any other
// character counts as 0) and complemented. A lone last digit is ignored.
std::string unscramblePassword(std::string_view stored);
