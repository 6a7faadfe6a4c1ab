#pragma once

#include "app/messageboxprompter.h"
#include "library/librarynoticesink.h"
#include "library/libraryoperations.h"
#include "library/libraryviewobserver.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "ui/libraryaccess.h"

#include <string>
#include <string_view>
#include <vector>

class FolderTreeView;
class RecordListView;
class MainWindow;
class QWidget;
struct InternalClipboard;

// The document of the run: it owns the library, loaded when the document is made and saved on
// 保存 and at exit, and the operations on it. It stands between the library and the windows: the
// library's questions become message boxes (or whatever prompter a test puts in), its view
// updates go to the folder tree and the record list, and its window notices to the main frame. It
// takes its place on the command route between the active view and the main frame.
class LibraryDocument : public LibraryAccess,
                        public LibraryViewObserver,
                        public LibraryNoticeSink,
                        public UserPrompter {
public:
    // Loads the library from the data directory. prompter answers every question; null shows
    // message boxes.
    LibraryDocument(Settings& settings, std::string dataDirectory, InternalClipboard& clipboard,
        UserPrompter* prompter = nullptr);
    ~LibraryDocument() override;

    // The settings the library operations read (the deletion settings among them).
    Settings& settings() const override { return m_settings; }
    // The directory of every file the program reads or writes, with its trailing '/'.
    const std::string& dataDirectory() const { return m_dataDirectory; }
    // The full name of one of the program's files, such as "private.kif".
    std::string filePath(std::string_view fileName) const;

    RecordLibrary& library() override { return m_library; }
    const RecordLibrary& library() const { return m_library; }
    LibraryOperations& operations() override { return m_operations; }
    InternalClipboard& clipboard() const override { return m_clipboard; }
    // Where questions and messages go; the document itself forwards there.
    UserPrompter& prompter() override { return *this; }

    // Connects the panes and the frame: the tree is built and shows マイ 棋譜集 in the list.
    void attachViews(FolderTreeView& tree, RecordListView& list, MainWindow& frame) override;
    // The main window is going: library changes from now on reach no window.
    void detachViews() override;
    // Tells the user, once, of collection files that could not be read at start.
    void reportLoadProblems();

    // Writes the three collection files; a file that could not be written is reported with its
    // name and the reason. True when every file was written.
    bool save();
    // The save at exit: on a failure the user may try again or quit without saving.
    void saveAtExit();

    // Selects the folder in the tree, which shows it in the list.
    void selectFolder(FolderKey folder) override;
    // Pastes the program's clipboard into a folder: its items are moved or copied there; without
    // items, its text of moves is imported as records. Nothing happens in the trash and the
    // network computers.
    void pasteInto(FolderKey target) override;

    // LibraryPrompter and UserPrompter: forwarded to the prompter in use.
    bool confirm(const std::string& title, const std::string& text) override;
    void showError(const std::string& title, const std::string& text) override;
    bool retry(const std::string& title, const std::string& text) override;

    // LibraryViewObserver: forwarded to the tree and the list.
    FolderKey shownFolder() const override;
    void folderInserted(FolderKey folder) override;
    void folderRemoved(FolderKey folder) override;
    void folderChildrenRemoved(FolderKey folder) override;
    void folderRenamed(FolderKey folder) override;
    void folderShared(FolderKey folder, bool shared) override;
    void folderRowAdded(FolderKey folder) override;
    void folderRowUpdated(FolderKey folder) override;
    void recordRowAdded(int collection, int slot) override;
    void recordRowUpdated(int collection, int slot) override;
    void recordRowRemoved(int collection, int slot) override;
    void reloadList() override;

    // LibraryNoticeSink: a WindowNotice to every open modeless window.
    int32_t sendWindowNotice(int32_t kind, uint32_t key, uint32_t extra) override;

private:
    // The message naming each file that could not be written, with the reason found for it.
    std::string saveFailureText(const std::vector<SaveFailure>& failed) const;
    // The copy of an unreadable collection file kept at start; empty when none was made.
    std::string keptCopyOf(const std::string& file) const;
    void tellKeptCopies(const std::vector<std::string>& kept);
    std::vector<ItemRef> liveClipboardItems() const;
    bool listShows(int collection) const;

    Settings& m_settings;
    std::string m_dataDirectory;
    InternalClipboard& m_clipboard;
    MessageBoxPrompter m_messageBoxes;
    UserPrompter* m_prompter;
    RecordLibrary m_library;
    LibraryOperations m_operations;
    LibraryLoadReport m_loadReport;
    bool m_loadReported = false;
    FolderTreeView* m_tree = nullptr;
    RecordListView* m_list = nullptr;
    MainWindow* m_frame = nullptr;
};
