#pragma once

#include "board/movelist.h"
#include "library/archiveimport.h"
#include "library/folderkey.h"
#include "records/gamerecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CollectionTree;
class LibraryNoticeSink;
class LibraryPrompter;
class LibraryViewObserver;
class RecordLibrary;
struct RecordDetails;
struct Settings;

// A finished game from a Yahoo! Games table, as the capture files it.
struct CapturedGame {
    std::string name; // made unique in the folder in the copy style
    std::string blackName; // empty: the unknown player
    std::string whiteName;
    MoveList moves; // normalised as records store them (starting with F5)
    int moveCount = 0; // the moves are cut after this many
    int orientation = 0; // the code that turns them back into the game as played
    int winner = GameRecord::noWinner;
    int endType = GameRecord::unfinished;
    int blackDiscs = 0; // kept only for a normal end
    int whiteDiscs = 0;
    int32_t playedAt = 0;
};

// What importing a text did.
struct ImportResult {
    int filed = 0; // lines that became records
    int failed = 0; // non-empty lines that gave no move
    bool stoppedEarly = false; // a line longer than 1000 bytes ended the import
    // True when the whole text went in, so that the program's clipboard drops it and it is not
    // pasted twice.
    bool dropClipboardText() const { return failed == 0 && !stoppedEarly; }
};

// The operations the user, the network code and the capture perform on the library. Each changes
// the model, asks through the prompter where the rules say so, tells the views what changed and
// sends the removal notices before a folder or record goes away. Arguments confirm and force take
// 1 or 0, or −1 for the deletion settings (delconfirm, delforce). All texts are CP932 bytes.
class LibraryOperations {
public:
    LibraryOperations(RecordLibrary& library, const Settings& settings, LibraryPrompter& prompter,
        LibraryViewObserver& views, LibraryNoticeSink& notices);

    // Without a name: "新しいフォルダ", or the first free "新しいフォルダ(%d)". Without a created
    // time (0): today at 00:00:00 local time. −1 when the folder table is full.
    int newFolder(int collection, int parent, std::optional<std::string> name = std::nullopt,
        int32_t created = 0);
    // Without a record: a new one named "新しい棋譜" or the first free "新しい棋譜(%d)", played
    // now. A given record (for example read from a record line) is added as it is, its opening
    // named.
    int newRecord(int collection, int folder, std::optional<GameRecord> record = std::nullopt);
    void renameFolder(int collection, int folder, std::string name);
    void renameRecord(int collection, int slot, std::string name);
    // The editor's OK: writes the details form and the game as played into the record in place
    // (the moves normalised again, the opening named again) and updates its row. Name, folder and
    // deleted at stay. False, and nothing changes, when the slot holds no live record.
    bool saveEditedRecord(
        int collection, int slot, const RecordDetails& details, const MoveList& played);

    // Whether name may name a record or folder in folder: not empty, no '\' or '/' byte anywhere,
    // not taken. A refusal is shown through owner when one is given.
    bool checkName(int collection, int folder, std::string_view name, LibraryPrompter* owner) const;
    // Whether name may be a share name: not empty, no '\' or '/' byte, not the share name of a
    // live folder of collection 0. A refusal is shown through owner when one is given.
    bool checkShareName(std::string_view name, LibraryPrompter* owner) const;
    // Sets the share (or clears it when shareName is none or empty).
    void setShare(
        int collection, int folder, std::optional<std::string> shareName, std::string shareComment);

    // Deletion to the trash, or for good with force. Nothing happens in the trash collection for
    // deleteFolder and deleteRecord; deleteItems there deletes for good after asking.
    void deleteFolder(int collection, int folder, int confirm = -1, int force = -1);
    void deleteRecord(int collection, int slot, int confirm = -1, int force = -1);
    void deleteItems(
        int collection, const std::vector<ItemRef>& selection, int confirm = -1, int force = -1);

    // Drag and drop and paste: the selection of sourceFolder into targetFolder, moving or copying.
    // Targets in collections 1 and 2 refuse everything; a target in the trash deletes the items.
    void moveOrCopy(int sourceCollection, int sourceFolder, const std::vector<ItemRef>& selection,
        int targetCollection, int targetFolder, bool move);

    bool trashIsEmpty() const;
    // Clears the trash without asking.
    void emptyTrash();

    // Files the moves of one line as a record named "インポート棋譜" (or "インポート棋譜(%d)"); 0,
    // or −1 when no move applies.
    int importLine(int collection, int folder, std::string_view line);
    // Each non-empty line of the text (split at CR and LF) through importLine.
    ImportResult importText(int collection, int folder, std::string_view text);
    // Reads an archive or collection file into a new folder under parent (see importArchiveFile)
    // and shows the folder in the tree and, when the list shows parent, in the list. A cancelled or
    // failed import changes nothing.
    ArchiveImportResult importFile(
        int collection, int parent, const std::string& path, const ArchiveProgress& progress = {});
    // Files a captured game; returns its slot.
    int fileCapturedGame(int collection, int folder, const CapturedGame& game);
    // The folder at path (split at '\', empty parts skipped) below folder, creating what is
    // missing with today's date. The last folder's index (folder itself for an empty path), or −1
    // when the folder table is full.
    int ensurePath(int collection, int folder, std::string_view path);
    // Adds "@Pavione ニュース" with the folders of "news.kif" to the network computers; false
    // (and nothing added) when the file is missing or bad.
    bool loadNews();

    // Network computers (collection 1), as the server's user list drives them.
    void clearNetworkComputers();
    void setComputerComment(std::string_view name, std::string comment);
    void deleteComputerFolder(std::string_view name);

private:
    CollectionTree& tree(int collection) const;
    bool confirmSetting(int confirm) const;
    bool forceSetting(int force) const;
    bool listShows(int collection, int folder) const;
    void sendRemoval(int32_t kind, int collection, int index);
    // Into the root of the trash, with deleted at now; −1 when the trash cannot hold the folder.
    int copyFolderToTrash(int collection, int folder);
    void copyRecordToTrash(int collection, int slot);
    void tellFolderTableFull();
    void reloadIfStillShown(FolderKey shownBefore);

    RecordLibrary& m_library;
    const Settings& m_settings;
    LibraryPrompter& m_prompter;
    LibraryViewObserver& m_views;
    LibraryNoticeSink& m_notices;
};
