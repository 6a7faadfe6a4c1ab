#pragma once

// The value of a hexadecimal digit ('0'–'9', 'A'–'F', 'a'–'f'), and 0 for any other byte: the
// record line and the version file both read a bad digit as 0 rather than failing.
constexpr int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}
