#include "server/passwordhash.h"

#include <sodium.h>

bool initPasswordHashing()
{
    return sodium_init() >= 0;
}

std::optional<std::string> hashPassword(std::string_view password, HashStrength strength)
{
    const bool cheap = strength == HashStrength::Cheap;
    const unsigned long long ops = cheap ? crypto_pwhash_OPSLIMIT_MIN : 2;
    const size_t memory = cheap ? crypto_pwhash_MEMLIMIT_MIN : size_t(19) * 1024 * 1024;
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, password.data(), password.size(), ops, memory) != 0)
        return std::nullopt;
    return std::string(out);
}

bool verifyPassword(const std::string& hash, std::string_view password)
{
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

bool isAcceptablePassword(std::string_view password)
{
    return !password.empty() && password.size() <= maxPasswordLength
        && password.find('\n') == std::string_view::npos
        && password.find('\0') == std::string_view::npos;
}
