#pragma once

#include <string>
#include <string_view>

// The program that replaces this one with a newer version; it lives in the program's directory.
inline constexpr std::string_view updaterProgram = "autopatch.exe";

// The updater's command line, "%s%s %s patch/%03d %s": the program's directory (with its
// trailing separator), the updater's name, the server host, the running version as three digits
// and the running program's full path.
std::string updateCommandLine(std::string_view programDirectory, std::string_view serverHost,
    int version, std::string_view programPath);
