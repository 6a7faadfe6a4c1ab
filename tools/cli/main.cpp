#include "command.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

std::vector<CliCommand>& registry()
{
    static std::vector<CliCommand> commands;
    return commands;
}

int printHelp(std::FILE* out)
{
    std::fputs("usage: pavione-cli COMMAND [ARGS]\n\ncommands:\n", out);
    std::vector<CliCommand> sorted = cliCommands();
    std::sort(sorted.begin(), sorted.end(),
        [](const CliCommand& a, const CliCommand& b) { return a.name < b.name; });
    for (const CliCommand& c : sorted)
        std::fprintf(out, "  %.*s\n", static_cast<int>(c.usage.size()), c.usage.data());
    std::fputs("  help\n  --version\n", out);
    return out == stdout ? 0 : 2;
}

} // namespace

const std::vector<CliCommand>& cliCommands()
{
    return registry();
}

CommandRegistration::CommandRegistration(CliCommand command)
{
    registry().push_back(command);
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return printHelp(stderr);
    const std::string_view word = argv[1];
    if (word == "--version") {
        std::puts("pavione-cli 0.30");
        return 0;
    }
    if (word == "help" || word == "--help" || word == "-h")
        return printHelp(stdout);
    for (const CliCommand& c : cliCommands()) {
        if (c.name == word)
            return c.run(std::span<char* const>(argv + 2, static_cast<size_t>(argc - 2)));
    }
    std::fprintf(stderr, "pavione-cli: unknown command '%s' (see pavione-cli help)\n", argv[1]);
    return 2;
}
