#pragma once

#include "library/folderkey.h"

class LibraryPrompter;
class QWidget;
class RecordLibrary;

// KAフォーマットで保存: asks where to write the folder's tournament text, proposing "output.ka" in
// the user's documents folder (the save dialog asks before replacing a file), and writes it. The
// user is told when the file cannot be written. Returns whether a file was written.
bool exportFolderAsKa(
    QWidget* parent, const RecordLibrary& library, FolderKey folder, LibraryPrompter& prompter);
