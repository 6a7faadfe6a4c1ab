#include "ui/folderremoval.h"

#include "library/recordlibrary.h"
#include "net/notices.h"

bool removalTakesFolder(const RecordLibrary& library, FolderKey shown, const WindowNotice& notice)
{
    if (notice.kind != WindowFolderRemoved || shown.collection < 0
        || shown.collection >= collectionCount)
        return false;
    const FolderKey removed = FolderKey::fromPacked(notice.key);
    const CollectionTree& tree = library.collection(shown.collection);
    return removed.collection == shown.collection && removed.folder < tree.folderCount()
        && shown.folder < tree.folderCount() && tree.isAncestor(removed.folder, shown.folder);
}

bool removalTakesRecord(
    const RecordLibrary& library, int collection, int slot, const WindowNotice& notice)
{
    if (notice.kind == WindowRecordRemoved)
        return FolderKey::fromPacked(notice.key) == FolderKey { collection, slot };
    if (notice.kind != WindowFolderRemoved || collection < 0 || collection >= collectionCount)
        return false;
    const CollectionTree& tree = library.collection(collection);
    return tree.recordIsLive(slot)
        && removalTakesFolder(library, { collection, tree.record(slot).folder }, notice);
}
