#pragma once

#include "buildpaths.h"
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

struct CliRun {
    int status;
    std::string out;
};

// Runs pavione-cli with a shell command line (arguments and redirections) after it.
inline CliRun cli(const std::string& arguments)
{
    const std::string command = std::string(PAVIONE_CLI_PATH) + " " + arguments;
    FILE* pipe = ::popen(command.c_str(), "r");
    CliRun run { -1, {} };
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The lines of an output, each ended by LF.
inline std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        out.push_back(text.substr(start, end - start));
    return out;
}
