#pragma once

#include <span>
#include <string_view>
#include <vector>

// A sub-command of pavione-cli. Each command's file registers itself with a static
// CommandRegistration, so adding a command needs no edit elsewhere.
struct CliCommand {
    std::string_view name;
    std::string_view usage; // one line, shown by "pavione-cli help"
    int (*run)(std::span<char* const> args); // args after the command word; returns the exit status
};

const std::vector<CliCommand>& cliCommands();

struct CommandRegistration {
    explicit CommandRegistration(CliCommand command);
};
