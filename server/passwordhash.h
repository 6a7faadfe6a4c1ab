#pragma once

#include <optional>
#include <string>
#include <string_view>

// Salted slow password hashes (Argon2id through libsodium), stored as the self-describing text
// that libsodium produces, so a hash made with either strength verifies the same way.
enum class HashStrength {
    Standard, // interactive limits: about 55 ms and 64 MiB per hash
    Cheap, // the smallest limits: for provisioning many test accounts quickly, never for real ones
};

// False when libsodium cannot start (then nothing else here works).
bool initPasswordHashing();

std::optional<std::string> hashPassword(std::string_view password, HashStrength strength);
bool verifyPassword(const std::string& hash, std::string_view password);

// Passwords are raw bytes; they only have to fit on one protocol line and stay reasonable.
constexpr std::size_t maxPasswordLength = 1024;
bool isAcceptablePassword(std::string_view password);
