#include "cliargs.h"

std::vector<std::string_view> argumentList(std::span<char* const> args)
{
    return { args.begin(), args.end() };
}

std::string takeOption(
    std::vector<std::string_view>& args, std::string_view name, std::string_view fallback)
{
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == name) {
            const std::string value(args[i + 1]);
            args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
            return value;
        }
    }
    return std::string(fallback);
}
