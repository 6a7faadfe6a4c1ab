#pragma once

#include "library/folderkey.h"

class RecordLibrary;
struct WindowNotice;

// Whether the notice tells of the removal (window notice kind 12) of the shown folder or of a
// folder above it: a window showing that folder then closes. The notice comes before the folder
// leaves the tree, while the folders above it can still be followed.
bool removalTakesFolder(const RecordLibrary& library, FolderKey shown, const WindowNotice& notice);

// Whether the notice tells of the removal of the record (collection, slot) itself (window notice
// kind 13) or of its folder or a folder above it (kind 12): a window showing the record then
// closes. Like the folder notice, the record notice comes while the record is still in place.
bool removalTakesRecord(
    const RecordLibrary& library, int collection, int slot, const WindowNotice& notice);
