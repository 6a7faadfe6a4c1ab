#pragma once

#include "records/openingbook.h"
#include "records/recordcollection.h"

#include <string>
#include <string_view>

// The collection file: the header "NKIF-1.0\n", then the folders (without the root), the player
// names (without entry 0) and every record slot, little-endian and without gaps.

// Records and folders name their folder in 16 bits, so a loaded collection holds no folder past
// this index: a live folder beyond it is left out and the load returns −1, so that the file is
// not taken for read whole.
inline constexpr int kMaxFolderIndex = 32767;

// Loads a file into a freshly made collection (no folders, no records, names holding only
// entry 0) and names every record's opening; 0 on success. Whatever the bytes, the collection is
// left consistent: removed folders, folders that do not hang from the root, unused names and
// records outside live folders are dropped and the rest renumbered. On −1 (no file, a wrong
// header, an entry cut short, a live folder past kMaxFolderIndex) it keeps what was read; it has
// no folders at all when not even the root was made, or when memory ran out. Nothing past the
// header is read unless the header is right, and no more than the counts call for.
int loadCollection(const std::string& path, RecordCollection& collection, const OpeningBook& book);
// The same from the file's bytes.
int readCollection(std::string_view bytes, RecordCollection& collection, const OpeningBook& book);

// Writes the whole collection to a temporary file beside path, flushes it to the disk and renames
// it over path, so that path always holds either the old or the new collection, whole. −1 when
// anything fails; path is then as it was, and error (when given) receives the errno that says why.
// Names and share texts longer than 255 bytes and comments longer than 65535 bytes are cut to fit
// their length fields. The new file keeps the old one's mode and, where permitted, its owner; a
// path that is a symbolic link has the file it leads to replaced (beside that file), the link
// staying as it is.
int saveCollection(
    const std::string& path, const RecordCollection& collection, int* error = nullptr);
