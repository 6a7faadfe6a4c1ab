#pragma once

#include "records/archivegame.h"

#include <string>
#include <vector>

class CollectionTree;

enum class ArchiveFormat { serverGames, moveText, tournament };

// The live records of a folder and of every folder below it, as played, each with the name of
// the folder holding it as its group.
std::vector<ArchiveGame> gamesOfFolder(const CollectionTree& tree, int folder);

// Writes the games of a folder to path in the format; the tournament format writes its player and
// tournament files beside path with the same stem (".JOU", ".TRN"). Returns how many games were
// written, or −1 with why (UTF-8) in error.
int exportArchive(const CollectionTree& tree, int folder, ArchiveFormat format,
    const std::string& path, std::string& error);
