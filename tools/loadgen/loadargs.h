#pragma once

#include <charconv>
#include <map>
#include <string>

// The load generator's command line: a mode word, then "--key value" pairs.
struct Args {
    std::string mode;
    std::map<std::string, std::string> values;
    std::string get(const std::string& key, const std::string& fallback) const
    {
        const auto it = values.find(key);
        return it == values.end() ? fallback : it->second;
    }
    long number(const std::string& key, long fallback) const
    {
        const std::string text = get(key, "");
        long value = fallback;
        if (!text.empty())
            std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    }
};
