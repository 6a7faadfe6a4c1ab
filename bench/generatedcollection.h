#pragma once

#include "buildpaths.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// The file of a million generated records, made once by pavione-cli and kept in the temporary
// directory for every benchmark program and run.
inline constexpr int kGeneratedRecords = 1000000;

inline const std::string& generatedCollectionPath()
{
    static const std::string path = [] {
        const std::filesystem::path file = std::filesystem::temp_directory_path()
            / ("pavione-bench-" + std::to_string(kGeneratedRecords) + "-seed1.kif");
        if (!std::filesystem::exists(file)) {
            const std::string command = std::string(PAVIONE_CLI_PATH) + " gen --records "
                + std::to_string(kGeneratedRecords) + " --seed 1 --folders 200 " + file.string();
            if (std::system(command.c_str()) != 0)
                std::fprintf(stderr, "cannot generate %s\n", file.c_str());
        }
        return file.string();
    }();
    return path;
}
