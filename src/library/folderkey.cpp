#include "library/folderkey.h"

uint32_t FolderKey::packed() const
{
    return libraryNoticeKey(collection, folder);
}

FolderKey FolderKey::fromPacked(uint32_t key)
{
    return { static_cast<int>(key >> 24), static_cast<int>(key & 0xFFFFFF) };
}

uint32_t libraryNoticeKey(int collection, int index)
{
    return (static_cast<uint32_t>(collection) & 0xFF) << 24
        | (static_cast<uint32_t>(index) & 0xFFFFFF);
}
