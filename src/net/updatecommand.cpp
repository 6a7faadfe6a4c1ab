#include "net/updatecommand.h"

#include <cstdio>

std::string updateCommandLine(std::string_view programDirectory, std::string_view serverHost,
    int version, std::string_view programPath)
{
    char number[16];
    std::snprintf(number, sizeof number, "%03d", version);
    std::string line;
    line.append(programDirectory).append(updaterProgram);
    line.append(" ").append(serverHost);
    line.append(" patch/").append(number);
    line.append(" ").append(programPath);
    return line;
}
