#pragma once

#include "records/recordcollection.h"

#include <string>

// The tournament text "KA-1.0" of one folder: a player list, a tournament header and a numbered
// diagram of each game with its players, score and winner. Only the folder's own records are
// written, not those of its subfolders, ordered by name. Lines end in CR LF; names stay CP932.

// The whole text; empty when folder is not a live folder of the collection.
std::string kaExportText(const RecordCollection& collection, int folder);

// Creates or truncates the file at path and writes the folder's text into it. 0, or −1 when the
// folder is not live (nothing is created then) or the file cannot be written.
int exportFolder(const RecordCollection& collection, int folder, const std::string& path);
