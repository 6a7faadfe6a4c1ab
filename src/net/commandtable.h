#pragma once

#include <cstdint>
#include <span>
#include <string_view>

struct CommandEntry {
    std::string_view word;
    int32_t id;
};

// The 37 command words the client knows, sorted by word, with their ids (see messageid.h).
std::span<const CommandEntry> commandTable();

// The id of a received command word: an exact, case-sensitive byte comparison over the table in
// order; -1 when the word is not in it.
int32_t lookupCommand(std::string_view word);
