#pragma once

#include "library/profilestore.h"

#include <map>
#include <string>
#include <variant>
#include <vector>

// A profile store held in memory. It also keeps the keys in the order they were written, so that
// callers can see what a save touched and in which order.
class MemoryProfileStore : public ProfileStore {
public:
    int getInt(std::string_view key, int fallback) const override;
    std::string getString(std::string_view key, std::string_view fallback) const override;
    void setInt(std::string_view key, int value) override;
    void setString(std::string_view key, std::string_view value) override;

    bool contains(std::string_view key) const;
    // Every key written so far, one entry per write, oldest first.
    const std::vector<std::string>& writes() const { return m_writes; }
    void clearWrites() { m_writes.clear(); }

private:
    std::map<std::string, std::variant<int, std::string>, std::less<>> m_values;
    std::vector<std::string> m_writes;
};
