#pragma once

#include "records/gamerecord.h"
#include "records/openingbook.h"
#include "records/playernametable.h"
#include "records/recordcollection.h"

#include <string>

// The JSON Lines objects of "dump" (and "line decode"), one per line, texts converted to UTF-8.
std::string folderJson(int index, const RecordFolder& folder);
std::string nameJson(int index, const std::string& name);
std::string recordJson(
    int slot, const GameRecord& record, const PlayerNameTable& names, const OpeningBook& book);

// The opening book for a command: the given file when there is one, else "opening.txt" beside
// the collection file, else the one in the source tree's res directory.
OpeningBook openingBookFor(const std::string& bookPath, const std::string& collectionPath);
