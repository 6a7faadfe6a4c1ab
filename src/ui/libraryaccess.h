#pragma once

#include "library/folderkey.h"
#include "ui/commandtarget.h"

class FolderTreeView;
class LibraryOperations;
class LibraryPrompter;
class MainWindow;
class RecordLibrary;
class RecordListView;
struct InternalClipboard;
struct Settings;

// What the main window and its panes need of the document that owns the library: the library to
// read, the operations that change it, the questions' prompter and the program's clipboard state.
// The document takes its place on the command route after the active view.
class LibraryAccess : public CommandTarget {
public:
    virtual RecordLibrary& library() = 0;
    virtual LibraryOperations& operations() = 0;
    virtual Settings& settings() const = 0;
    virtual InternalClipboard& clipboard() const = 0;
    virtual LibraryPrompter& prompter() = 0;

    // Connects the panes and the frame: the tree is built and shows マイ 棋譜集 in the list.
    virtual void attachViews(FolderTreeView& tree, RecordListView& list, MainWindow& frame) = 0;
    // The main window is going: library changes from now on reach no window.
    virtual void detachViews() = 0;
    // Selects the folder in the tree, which shows it in the list.
    virtual void selectFolder(FolderKey folder) = 0;
    // Pastes the program's clipboard into a folder (items moved or copied, or its text imported).
    virtual void pasteInto(FolderKey target) = 0;
};
