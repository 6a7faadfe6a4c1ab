#include "net/passwordscramble.h"

#include "text/hexdigit.h"

std::string scramblePassword(std::string_view password)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string stored;
    stored.reserve(password.size() * 2);
    for (const char c : password) {
        const unsigned complement = 255u - static_cast<unsigned char>(c);
        stored += digits[complement >> 4];
        stored += digits[complement & 15u];
    }
    return stored;
}

std::string unscramblePassword(std::string_view stored)
{
    std::string password;
    password.reserve(stored.size() / 2);
    for (size_t i = 0; i + 1 < stored.size(); i += 2) {
        const int byte = hexDigitValue(stored[i]) * 16 + hexDigitValue(stored[i + 1]);
        password += static_cast<char>(255 - byte);
    }
    return password;
}
