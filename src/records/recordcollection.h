#pragma once

#include "records/gamerecord.h"
#include "records/playernametable.h"

#include <cstdint>
#include <string>
#include <vector>

// The data of one collection of records: a tree of folders with its own player names and record
// table. Plain data as the collection file holds it; the operations on the tree belong to the
// library. Indices stay valid for a whole run: a removed folder keeps its entry with parent −1
// and a record taken out keeps its slot with folder −1, until the next load drops them.

struct RecordFolder {
    int16_t parent = -1; // −1 for the root and for a removed folder
    std::string name;
    std::string shareName; // empty when the folder is not shared
    std::string shareComment;
    int32_t created = 0; // seconds since 1970-01-01 UTC
    int32_t deletedAt = 0; // when put in the trash; 0 when never
    std::vector<int> children; // folder indices, in insertion order
    std::vector<int> records; // record-table indices, in insertion order
};

struct RecordCollection {
    std::string displayName;
    int32_t version = 0; // major × 10 + minor of the file's header; informational
    std::vector<RecordFolder> folders; // entry 0 is the root
    int32_t sharedCount = 0; // folders whose share name is set
    PlayerNameTable names;
    std::vector<GameRecord> records; // slots; folder −1 marks a free one
};
