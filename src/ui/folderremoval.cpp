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
