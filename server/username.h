#pragma once

#include <string_view>

// Account names: 1 to 16 bytes of ASCII letters, digits, "_" and "-". They travel inside
// comma-separated user-list entries and are compared byte by byte, so no name may hold a comma,
// a space or anything that depends on a code page.
constexpr std::size_t maxUserNameLength = 16;

bool isValidUserName(std::string_view name);
