#pragma once

#include "net/stringlist.h"

#include <string>
#include <vector>

// The items of a message as plain strings, for comparing in tests.
inline std::vector<std::string> itemsOf(const StringList& list)
{
    std::vector<std::string> items;
    for (const ByteString& item : list)
        items.push_back(item.str());
    return items;
}
