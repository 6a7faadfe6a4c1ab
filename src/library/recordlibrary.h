#pragma once

#include "library/collectiontree.h"
#include "library/folderkey.h"
#include "library/savefailure.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class OpeningBook;

// The four collections by their fixed numbers.
enum CollectionId : int {
    myRecordsCollection = 0, // "マイ 棋譜集", "private.kif"
    networkCollection = 1, // "ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ", no file: rebuilt from the server
    yahooCollection = 2, // "Yahoo! Games", "yahoo.kif"
    trashCollection = 3, // "ごみ箱", "dustbox.kif"
};
inline constexpr int collectionCount = 4;

// What start-up found.
struct LibraryLoadReport {
    // Collection files that exist but could not be read whole; their collections start with
    // what was read (or empty).
    std::vector<std::string> unreadableFiles;
    // Copies of those files made beside them before anything overwrites them (for example
    // "private.kif.bad"): the desktop program tells the user once.
    std::vector<std::string> keptCopies;
};

// The document: the four collections for the whole run and the opening book. Collections 0, 2
// and 3 come from and go to their files in the data directory; collection 1 only lives in memory.
class RecordLibrary {
public:
    // Four empty collections (no roots yet) and an empty opening book.
    RecordLibrary();
    ~RecordLibrary();
    RecordLibrary(const RecordLibrary&) = delete;
    RecordLibrary& operator=(const RecordLibrary&) = delete;

    // Start-up: reads "opening.txt", then "private.kif", "yahoo.kif" and "dustbox.kif" from
    // dataDirectory (which ends with its '/', or is empty), giving each collection its root name;
    // a missing or bad file gives a fresh root. installed becomes the created time of the root of
    // collection 0. Collection 1 gets its root. An existing file that fails to load is copied to a
    // free name beside it ("private.kif.bad", "private.kif.bad2", …) before any save; when even
    // that copy cannot be made, the collection is never saved over the file. When "opening.txt"
    // is missing or names no opening, the book is read from builtInOpenings instead.
    LibraryLoadReport load(
        const std::string& dataDirectory, int32_t installed, std::string_view builtInOpenings = {});

    // Writes collections 0, 2 and 3 to their files, in that order, each file replaced whole.
    // Returns the files that could not be written and why (empty when all were); a failed file
    // does not stop the others. A file held back at start is written once it is gone or a copy
    // of it could now be kept; the copies kept so are added to keptCopies.
    std::vector<SaveFailure> saveAll(std::vector<std::string>* keptCopies = nullptr) const;

    CollectionTree& collection(int index) { return m_collections[index]; }
    const CollectionTree& collection(int index) const { return m_collections[index]; }
    // Whether the key names a folder in the tree now: a collection that exists and a folder that
    // is the root or hangs from it.
    bool folderIsLive(FolderKey folder) const
    {
        return folder.collection >= 0 && folder.collection < collectionCount
            && m_collections[size_t(folder.collection)].folderIsLive(folder.folder);
    }
    const OpeningBook& openingBook() const { return *m_openingBook; }
    OpeningBook& openingBook() { return *m_openingBook; }
    const std::string& dataDirectory() const { return m_dataDirectory; }
    // The full path of one of the program's files in the data directory.
    std::string filePath(const std::string& fileName) const;

    // Sets the record's opening from its moves through the opening book.
    void nameOpening(GameRecord& record) const;

    // The file of a collection ("private.kif", …); empty for collection 1.
    static std::string fileNameOf(int collection);

private:
    std::array<CollectionTree, collectionCount> m_collections;
    std::unique_ptr<OpeningBook> m_openingBook;
    std::string m_dataDirectory;
    // Collections whose unreadable file could not be kept: saving them would destroy it. Each
    // save looks again, so the flag changes even in a const save.
    mutable std::array<bool, collectionCount> m_saveBlocked {};
};
