#pragma once

#include <cstdint>

// A folder of the library: the collection number and the folder's index in that collection's
// folder table. Packed into 32 bits (collection in bits 24–31, index in bits 0–23) it is the item
// data of the folder tree and the key of folder notices.
struct FolderKey {
    int collection = -1;
    int folder = -1;

    bool valid() const { return collection >= 0 && folder >= 0; }
    uint32_t packed() const;
    static FolderKey fromPacked(uint32_t key);

    friend bool operator==(const FolderKey&, const FolderKey&) = default;
};

// The key of a window notice about a folder or a record: the collection in bits 24–31 and the
// folder or record index in bits 0–23.
uint32_t libraryNoticeKey(int collection, int index);

// An item of a selection (the record list's row key): a record slot, or a folder index with a
// non-zero kind in bits 24–31 (bit 24 set when made here). The index is bits 0–23 read as a signed
// 24-bit number. A selection is an ordered list of items of one collection.
using ItemRef = uint32_t;

inline constexpr ItemRef folderItemBit = 0x1000000;

constexpr ItemRef recordItem(int slot)
{
    return static_cast<uint32_t>(slot) & 0xFFFFFF;
}
constexpr ItemRef folderItem(int folder)
{
    return folderItemBit | (static_cast<uint32_t>(folder) & 0xFFFFFF);
}
constexpr bool itemIsFolder(ItemRef item)
{
    return (item >> 24) != 0;
}
constexpr int itemIndex(ItemRef item)
{
    const int low = static_cast<int>(item & 0xFFFFFF);
    return low >= 0x800000 ? low - 0x1000000 : low;
}
