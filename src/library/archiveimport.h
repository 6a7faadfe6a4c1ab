#pragma once

#include "records/archivegame.h"

#include <functional>
#include <string>
#include <string_view>

class CollectionTree;
class OpeningBook;

// The kinds of file an import reads, told apart by their content.
enum class ArchiveKind {
    tournamentGames, // a game file of the tournament archive (.wtb)
    tournamentNames, // its player (.JOU) or tournament (.TRN) file, read beside the game file
    serverGames, // game server archive text (GGF)
    collection, // one of the program's own collection files
    moveText, // anything else: one game of moves per line
};

ArchiveKind recogniseArchive(std::string_view bytes);

struct ArchiveImportResult {
    ArchiveReport report;
    int folder = -1; // the folder made for the file; −1 when none was made
    bool cancelled = false; // the import was stopped; nothing of it is left
    std::string error; // UTF-8; why the file could not be read at all
};

// Called every few thousand games with the share of the file read (0..1); false cancels.
using ArchiveProgress = std::function<bool(double)>;

// Whether games are read and checked on a second thread while the calling one files them (the
// usual way), or all on the calling thread.
enum class ImportThreads { one, two };

// Files the games of one file into a new folder under parent, named after the file (a tournament
// game file: after the year of its games, with a folder per tournament inside). Records get
// players, result, date, opening and a name from the tournament or the file. A cancelled or failed
// import leaves the collection as it was. The records come out the same with one thread or two.
ArchiveImportResult importArchiveFile(CollectionTree& tree, const OpeningBook& book, int parent,
    const std::string& path, const ArchiveProgress& progress = {},
    ImportThreads threads = ImportThreads::two);

// The whole file's bytes; false (with why, in UTF-8) when it cannot be read.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);
