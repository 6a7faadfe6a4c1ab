#include "command.h"

#include "text/cp932.h"

#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

namespace {

// Converts standard input between CP932 and UTF-8, for scripts that prepare or inspect files.
int runConvert(std::span<char* const> args)
{
    if (args.size() != 1
        || (std::string_view(args[0]) != "to-utf8" && std::string_view(args[0]) != "from-utf8")) {
        std::fputs("usage: pavione-cli convert to-utf8|from-utf8 < input\n", stderr);
        return 2;
    }
    const std::string input { std::istreambuf_iterator<char>(std::cin),
        std::istreambuf_iterator<char>() };
    const std::string output
        = std::string_view(args[0]) == "to-utf8" ? cp932::toUtf8(input) : cp932::fromUtf8(input);
    std::fwrite(output.data(), 1, output.size(), stdout);
    return 0;
}

const CommandRegistration registration { { "convert",
    "convert to-utf8|from-utf8 < input    CP932 <-> UTF-8 on standard input", &runConvert } };

} // namespace
