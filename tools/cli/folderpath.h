#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CollectionTree;

// The folder at a path such as \A\B\ below the root (the root's own name is not part of it; "\"
// is the root), or −1. The path is split in UTF-8, where no byte of a character can be a
// backslash, before each name becomes CP932, where the second byte of a character can.
int folderAt(const CollectionTree& tree, std::string_view utf8Path);
// The same, making the folders that are missing; −1 when the folder table is full.
int ensureFolderAt(CollectionTree& tree, std::string_view utf8Path, int32_t created);
// Loads the collection file into tree and finds the folder at utf8Path in it. On failure the
// reason goes to standard error and the answer is −1.
int loadFolderAt(const std::string& file, std::string_view utf8Path, CollectionTree& tree);
