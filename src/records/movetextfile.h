#pragma once

#include "records/archivegame.h"

#include <string>
#include <string_view>

// Files of move text: one game per line in text notation (F5D6C3…), as pasted from the clipboard.
namespace movetext {

// Reads each non-empty line as a game; a line without a legal first move is skipped, one whose
// moves stop being legal is kept up to the last legal move and counted as cut. False when the
// sink stopped the reading.
bool readGames(std::string_view text, const std::string& nameBase, ArchiveReport& report,
    const ArchiveGameSink& sink);

} // namespace movetext
