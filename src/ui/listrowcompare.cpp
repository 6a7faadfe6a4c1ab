#include "ui/listrowcompare.h"

#include "library/folderkey.h"
#include "records/recordcollection.h"

#include <string>

namespace {

template <typename T> int threeWay(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// std::string compares as unsigned bytes, which is the order the list promises for names.
int compareNames(const std::string& a, const std::string& b)
{
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int laterFirst(int32_t a, int32_t b)
{
    return threeWay(b, a);
}

// Black's wins first, then games without a winner, then White's.
int winnerRank(int8_t winner)
{
    switch (winner) {
    case GameRecord::blackWins:
        return 0;
    case GameRecord::noWinner:
        return 1;
    default:
        return 2;
    }
}

int compareResults(const GameRecord& a, const GameRecord& b)
{
    if (const int c = threeWay(winnerRank(a.winner), winnerRank(b.winner)))
        return c;
    if (a.endType != b.endType) {
        return a.winner == GameRecord::blackWins ? threeWay(a.endType, b.endType)
                                                 : threeWay(b.endType, a.endType);
    }
    if (a.endType != GameRecord::normalEnd)
        return 0;
    return threeWay(b.blackDiscs - b.whiteDiscs, a.blackDiscs - a.whiteDiscs);
}

int comparePlayers(const RecordCollection& collection, int16_t playerA, int32_t dateA,
    int16_t playerB, int32_t dateB)
{
    // The same player sorts by date; so do two entries that happen to carry the same name, which
    // keeps the order consistent for the sort (equal names must not be "equal" and "ordered" at
    // once).
    if (playerA != playerB) {
        if (const int c
            = compareNames(collection.names.name(playerA), collection.names.name(playerB)))
            return c;
    }
    return threeWay(dateA, dateB);
}

// Two records under a column of the records layout (0 名前 .. 5 日付).
int compareRecords(
    const RecordCollection& collection, int column, const GameRecord& a, const GameRecord& b)
{
    switch (column) {
    case 0:
        return compareNames(a.name, b.name);
    case 1:
        return comparePlayers(collection, a.blackPlayer, a.playedAt, b.blackPlayer, b.playedAt);
    case 2:
        return comparePlayers(collection, a.whitePlayer, a.playedAt, b.whitePlayer, b.playedAt);
    case 3:
        return compareResults(a, b);
    case 4:
        return threeWay(a.opening, b.opening);
    case 5:
        return laterFirst(a.playedAt, b.playedAt);
    default:
        return 0;
    }
}

// Two folders: the date column compares creation times, every other column names.
int compareFolders(const RecordFolder& a, const RecordFolder& b, bool dateColumn)
{
    return dateColumn ? laterFirst(a.created, b.created) : compareNames(a.name, b.name);
}

int32_t deletedAt(const RecordCollection& collection, uint32_t key)
{
    return itemIsFolder(key) ? collection.folders[static_cast<size_t>(itemIndex(key))].deletedAt
                             : collection.records[static_cast<size_t>(itemIndex(key))].deletedAt;
}

} // namespace

int compareListRows(
    const RecordCollection& collection, ListMode mode, int column, uint32_t a, uint32_t b)
{
    if (mode == ListMode::Computers)
        return 0;
    if (mode == ListMode::Trash) {
        if (column == 1)
            return laterFirst(deletedAt(collection, a), deletedAt(collection, b));
        // The other trash columns are the records layout's with the trash time taken out.
        if (column > 1)
            --column;
    }
    const bool folderA = itemIsFolder(a);
    const bool folderB = itemIsFolder(b);
    if (folderA != folderB)
        return folderA ? -1 : 1;
    const size_t ia = static_cast<size_t>(itemIndex(a));
    const size_t ib = static_cast<size_t>(itemIndex(b));
    if (folderA)
        return compareFolders(collection.folders[ia], collection.folders[ib], column == 5);
    return compareRecords(collection, column, collection.records[ia], collection.records[ib]);
}
