#pragma once

#include <string>
#include <string_view>

// The per-user store of the program's settings: integers and strings by key, all in the one
// section "Settings" under the company key "wenk". The desktop program backs it with its platform
// store, tests with MemoryProfileStore. Strings are CP932 bytes.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    // The stored number, or fallback when the key is missing or does not hold a number.
    virtual int getInt(std::string_view key, int fallback) const = 0;
    // The stored text, or fallback when the key is missing.
    virtual std::string getString(std::string_view key, std::string_view fallback) const = 0;
    virtual void setInt(std::string_view key, int value) = 0;
    virtual void setString(std::string_view key, std::string_view value) = 0;
};

namespace profile {

inline constexpr std::string_view company = "wenk";
inline constexpr std::string_view section = "Settings";

} // namespace profile
