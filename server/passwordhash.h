#pragma once

#include <optional>
#include <string>
#include <string_view>

// Salted slow password hashes (Argon2id through libsodium), stored as the self-describing text
// that libsodium produces, so a hash made with either strength verifies the same way.
enum class HashStrength {
    // Argon2id with 19 MiB and 2 passes (the common minimum recommendation): about 11 ms per
    // check on one core, so a burst of a thousand logins is answered within seconds.
    Standard,
    Cheap, // the smallest limits: for provisioning many test accounts quickly, never for real ones
};

// False when libsodium cannot start (then nothing else here works).
bool initPasswordHashing();

std::optional<std::string> hashPassword(std::string_view password, HashStrength strength);
bool verifyPassword(const std::string& hash, std::string_view password);

// Passwords are raw bytes; they only have to fit on one protocol line and stay reasonable.
constexpr std::size_t maxPasswordLength = 1024;
bool isAcceptablePassword(std::string_view password);
