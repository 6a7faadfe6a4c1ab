#pragma once

#include "library/folderkey.h"

// What the folder tree and the record list are told after the library changed. The tree calls
// come for every folder change (the tree decides what it shows: the trash shows its root only);
// the row calls come only when the record list shows the folder concerned, which the library
// learns from shownFolder(). Names and fields are read from the library when the call arrives.
class LibraryViewObserver {
public:
    virtual ~LibraryViewObserver() = default;

    // The folder the record list shows; an invalid key when it shows none.
    virtual FolderKey shownFolder() const = 0;

    // Folder tree.
    // Insert the folder's node under its parent's node, with its whole subtree.
    virtual void folderInserted(FolderKey folder) = 0;
    // Delete the folder's node with everything below it. Comes before the folder leaves the model.
    virtual void folderRemoved(FolderKey folder) = 0;
    // Delete every node below the folder's node (the network root when its collection is rebuilt).
    virtual void folderChildrenRemoved(FolderKey folder) = 0;
    // The folder's name changed: set the node's text (and its row's text if the list shows it).
    virtual void folderRenamed(FolderKey folder) = 0;
    // The folder's share name was set or cleared: show or drop the node's shared mark.
    virtual void folderShared(FolderKey folder, bool shared) = 0;

    // Record list, only while it shows the folder that holds the row.
    virtual void folderRowAdded(FolderKey folder) = 0;
    // Reset the folder row's picture and comment.
    virtual void folderRowUpdated(FolderKey folder) = 0;
    virtual void recordRowAdded(int collection, int slot) = 0;
    // The record's fields changed (its name when renamed): show them in its row.
    virtual void recordRowUpdated(int collection, int slot) = 0;
    virtual void recordRowRemoved(int collection, int slot) = 0;
    // Show the shown folder again from the model.
    virtual void reloadList() = 0;
};

// Views that show nothing: for the command-line tool and for tests that only drive the library.
class NoLibraryViews : public LibraryViewObserver {
public:
    FolderKey shownFolder() const override { return {}; }
    void folderInserted(FolderKey) override { }
    void folderRemoved(FolderKey) override { }
    void folderChildrenRemoved(FolderKey) override { }
    void folderRenamed(FolderKey) override { }
    void folderShared(FolderKey, bool) override { }
    void folderRowAdded(FolderKey) override { }
    void folderRowUpdated(FolderKey) override { }
    void recordRowAdded(int, int) override { }
    void recordRowUpdated(int, int) override { }
    void recordRowRemoved(int, int) override { }
    void reloadList() override { }
};
