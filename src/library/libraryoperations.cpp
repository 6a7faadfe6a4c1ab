#include "library/libraryoperations.h"

#include "board/notation.h"
#include "board/othellogame.h"
#include "library/librarynoticesink.h"
#include "library/libraryprompter.h"
#include "library/libraryviewobserver.h"
#include "library/recorddetails.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "library/textformat.h"
#include "net/notices.h"
#include "net/stringlist.h"
#include "records/collectionfile.h"
#include "records/textlimits.h"
#include "text/texts.h"

#include <algorithm>
#include <ctime>

namespace {

// A line of imported text is read in pieces of this size; a longer one ends the import.
constexpr size_t kImportLineBytes = 1000;

// Today at 00:00:00 local time.
int32_t todayAtMidnight()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    local.tm_hour = 0;
    local.tm_min = 0;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    return static_cast<int32_t>(std::mktime(&local));
}

bool holdsSeparator(std::string_view name)
{
    // Byte by byte: the second byte of a double-byte character counts too, as the files and the
    // network paths split at these bytes whatever character they belong to.
    return name.find_first_of("\\/") != std::string_view::npos;
}

} // namespace

LibraryOperations::LibraryOperations(RecordLibrary& library, const Settings& settings,
    LibraryPrompter& prompter, LibraryViewObserver& views, LibraryNoticeSink& notices)
    : m_library(library)
    , m_settings(settings)
    , m_prompter(prompter)
    , m_views(views)
    , m_notices(notices)
{ }

CollectionTree& LibraryOperations::tree(int collection) const
{
    return m_library.collection(collection);
}

bool LibraryOperations::confirmSetting(int confirm) const
{
    return confirm < 0 ? m_settings.delconfirm != 0 : confirm != 0;
}

bool LibraryOperations::forceSetting(int force) const
{
    return force < 0 ? m_settings.delforce != 0 : force != 0;
}

bool LibraryOperations::listShows(int collection, int folder) const
{
    return m_views.shownFolder() == FolderKey { collection, folder };
}

void LibraryOperations::sendRemoval(int32_t kind, int collection, int index)
{
    m_notices.sendWindowNotice(kind, libraryNoticeKey(collection, index), 0);
}

void LibraryOperations::tellFolderTableFull()
{
    m_prompter.showError(texts::folderTableFullTitle.bytes(), texts::folderTableFull.bytes());
}

void LibraryOperations::reloadIfStillShown(FolderKey shownBefore)
{
    if (shownBefore.valid() && m_views.shownFolder() == shownBefore)
        m_views.reloadList();
}

int LibraryOperations::copyFolderToTrash(int collection, int folder)
{
    CollectionTree& trash = tree(trashCollection);
    const int copy = tree(collection).copyFolder(folder, trash, 0);
    if (copy < 0)
        return -1;
    trash.setFolderDeletedAt(copy, currentTime());
    trash.clearShareSubtree(copy);
    return copy;
}

void LibraryOperations::copyRecordToTrash(int collection, int slot)
{
    CollectionTree& trash = tree(trashCollection);
    const int copy = tree(collection).copyRecord(slot, trash, 0);
    setDeletedNow(trash.recordForEdit(copy));
}

int LibraryOperations::newFolder(
    int collection, int parent, std::optional<std::string> name, int32_t created)
{
    CollectionTree& t = tree(collection);
    std::string folderName
        = name ? std::move(*name) : t.uniqueName(parent, {}, NameStyle::newFolder);
    const int folder
        = t.addFolder(parent, std::move(folderName), created != 0 ? created : todayAtMidnight());
    if (folder < 0) {
        tellFolderTableFull();
        return -1;
    }
    m_views.folderInserted({ collection, folder });
    if (listShows(collection, parent))
        m_views.folderRowAdded({ collection, folder });
    return folder;
}

int LibraryOperations::newRecord(int collection, int folder, std::optional<GameRecord> record)
{
    CollectionTree& t = tree(collection);
    GameRecord added;
    if (record) {
        added = std::move(*record);
        m_library.nameOpening(added);
    } else {
        added = newNamedRecord(t.uniqueName(folder, {}, NameStyle::newRecord));
        added.endType = GameRecord::unfinished;
    }
    const int slot = t.addRecord(folder, std::move(added));
    if (listShows(collection, folder))
        m_views.recordRowAdded(collection, slot);
    return slot;
}

void LibraryOperations::renameFolder(int collection, int folder, std::string name)
{
    tree(collection).renameFolder(folder, std::move(name));
    m_views.folderRenamed({ collection, folder });
}

void LibraryOperations::renameRecord(int collection, int slot, std::string name)
{
    CollectionTree& t = tree(collection);
    t.renameRecord(slot, std::move(name));
    if (listShows(collection, t.record(slot).folder))
        m_views.recordRowUpdated(collection, slot);
}

bool LibraryOperations::saveEditedRecord(
    int collection, int slot, const RecordDetails& details, const MoveList& played)
{
    if (collection < 0 || collection >= collectionCount || !tree(collection).recordIsLive(slot))
        return false;
    CollectionTree& t = tree(collection);
    GameRecord& record = t.recordForEdit(slot);
    details.applyTo(t, record);
    normaliseMoves(record, played, m_library.openingBook());
    if (listShows(collection, record.folder))
        m_views.recordRowUpdated(collection, slot);
    return true;
}

bool LibraryOperations::checkName(
    int collection, int folder, std::string_view name, LibraryPrompter* owner) const
{
    const FixedText* refusal = nullptr;
    if (name.empty())
        refusal = &texts::nameEmpty;
    else if (holdsSeparator(name))
        refusal = &texts::nameBadCharacter;
    else if (tree(collection).nameTaken(folder, name))
        refusal = &texts::nameTaken;
    if (refusal == nullptr)
        return true;
    if (owner != nullptr)
        owner->showError(texts::renameErrorTitle.bytes(), refusal->bytes());
    return false;
}

bool LibraryOperations::checkShareName(std::string_view name, LibraryPrompter* owner) const
{
    const FixedText* refusal = nullptr;
    if (name.empty()) {
        refusal = &texts::shareNameEmpty;
    } else if (holdsSeparator(name)) {
        refusal = &texts::shareNameBadCharacter;
    } else {
        const CollectionTree& own = tree(myRecordsCollection);
        name = fitName(name);
        for (int f = 0; f < own.folderCount(); ++f) {
            const RecordFolder& folder = own.folder(f);
            if (folder.parent >= 0 && folder.shareName == name) {
                refusal = &texts::shareNameTaken;
                break;
            }
        }
    }
    if (refusal == nullptr)
        return true;
    if (owner != nullptr)
        owner->showError(texts::shareErrorTitle.bytes(), refusal->bytes());
    return false;
}

void LibraryOperations::setShare(
    int collection, int folder, std::optional<std::string> shareName, std::string shareComment)
{
    CollectionTree& t = tree(collection);
    if (shareName && !shareName->empty())
        t.setShare(folder, std::move(*shareName), std::move(shareComment));
    else
        t.clearShare(folder);
    if (collection != networkCollection)
        m_views.folderShared({ collection, folder }, !t.folder(folder).shareName.empty());
    if (listShows(collection, t.folder(folder).parent))
        m_views.folderRowUpdated({ collection, folder });
}

void LibraryOperations::deleteFolder(int collection, int folder, int confirm, int force)
{
    CollectionTree& t = tree(collection);
    if (collection == trashCollection || folder <= 0 || !t.folderIsLive(folder))
        return;
    const bool forGood = forceSetting(force);
    if (confirmSetting(confirm)) {
        const std::string question = formatText(texts::deleteFolderQuestion.bytes(),
            { t.folder(folder).name,
                forGood ? texts::verbDelete.bytes() : texts::verbMoveToTrash.bytes() });
        if (!m_prompter.confirm(texts::deleteFolderTitle.bytes(), question))
            return;
    }
    const FolderKey shownBefore = m_views.shownFolder();
    // The folder goes only once its copy is safely in the trash.
    if (!forGood && copyFolderToTrash(collection, folder) < 0) {
        tellFolderTableFull();
        return;
    }
    m_views.folderRemoved({ collection, folder });
    sendRemoval(WindowFolderRemoved, collection, folder);
    t.removeFolder(folder);
    reloadIfStillShown(shownBefore);
}

void LibraryOperations::deleteRecord(int collection, int slot, int confirm, int force)
{
    CollectionTree& t = tree(collection);
    if (collection == trashCollection || !t.recordIsLive(slot))
        return;
    const bool forGood = forceSetting(force);
    if (confirmSetting(confirm)) {
        const std::string question = formatText(texts::deleteRecordQuestion.bytes(),
            { t.record(slot).name,
                forGood ? texts::verbDelete.bytes() : texts::verbMoveToTrash.bytes() });
        if (!m_prompter.confirm(texts::deleteRecordTitle.bytes(), question))
            return;
    }
    if (!forGood)
        copyRecordToTrash(collection, slot);
    sendRemoval(WindowRecordRemoved, collection, slot);
    const int folder = t.record(slot).folder;
    t.detachRecord(slot);
    if (listShows(collection, folder))
        m_views.recordRowRemoved(collection, slot);
}

void LibraryOperations::deleteItems(
    int collection, const std::vector<ItemRef>& selection, int confirm, int force)
{
    if (selection.empty())
        return;
    CollectionTree& t = tree(collection);
    const bool inTrash = collection == trashCollection;
    const bool forGood = inTrash || forceSetting(force);
    const std::string& verb = forGood ? texts::verbDelete.bytes() : texts::verbMoveToTrash.bytes();
    if (inTrash || confirmSetting(confirm)) {
        std::string title;
        std::string question;
        const ItemRef only = selection.front();
        if (selection.size() > 1) {
            title = texts::deleteManyTitle.bytes();
            question = formatText(
                texts::deleteManyQuestion.bytes(), { static_cast<int>(selection.size()), verb });
        } else if (itemIsFolder(only)) {
            title = texts::deleteFolderTitle.bytes();
            question = formatText(inTrash ? texts::deleteTrashFolderQuestion.bytes()
                                          : texts::deleteFolderQuestion.bytes(),
                { t.folder(itemIndex(only)).name, verb });
        } else {
            title = texts::deleteRecordTitle.bytes();
            question = formatText(
                texts::deleteRecordQuestion.bytes(), { t.record(itemIndex(only)).name, verb });
        }
        if (!m_prompter.confirm(title, question))
            return;
    }
    const FolderKey shownBefore = m_views.shownFolder();
    for (const ItemRef item : selection) {
        const int index = itemIndex(item);
        if (itemIsFolder(item)) {
            if (index <= 0 || index >= t.folderCount() || !t.folderIsLive(index))
                continue;
            if (!forGood && copyFolderToTrash(collection, index) < 0) {
                tellFolderTableFull();
                break;
            }
            if (!inTrash)
                m_views.folderRemoved({ collection, index });
            // Windows on what is deleted from the trash close too: its slots are reused.
            sendRemoval(WindowFolderRemoved, collection, index);
            t.removeFolder(index);
        } else {
            if (!t.recordIsLive(index))
                continue;
            if (!forGood)
                copyRecordToTrash(collection, index);
            sendRemoval(WindowRecordRemoved, collection, index);
            t.detachRecordDeferred(index);
        }
    }
    t.finishDetaching();
    reloadIfStillShown(shownBefore);
}

void LibraryOperations::moveOrCopy(int sourceCollection, int sourceFolder,
    const std::vector<ItemRef>& selection, int targetCollection, int targetFolder, bool move)
{
    if (targetCollection == networkCollection || targetCollection == yahooCollection
        || selection.empty())
        return;
    CollectionTree& source = tree(sourceCollection);
    CollectionTree& target = tree(targetCollection);
    const FolderKey shownBefore = m_views.shownFolder();

    bool ask = true;
    if (sourceCollection == targetCollection) {
        for (const ItemRef item : selection) {
            if (itemIsFolder(item) && source.isAncestor(itemIndex(item), targetFolder)) {
                m_prompter.showError(
                    texts::copyErrorTitle.bytes(), texts::copyIntoOwnSubfolder.bytes());
                return;
            }
        }
        if (targetFolder == sourceFolder) {
            if (move) {
                m_prompter.showError(
                    texts::moveErrorTitle.bytes(), texts::moveIntoSameFolder.bytes());
                return;
            }
            ask = false;
        }
    }
    if (ask && targetCollection == trashCollection) {
        deleteItems(sourceCollection, selection, 0, 0);
        return;
    }
    const auto nameOf = [&source](ItemRef item) -> const std::string& {
        return itemIsFolder(item) ? source.folder(itemIndex(item)).name
                                  : source.record(itemIndex(item)).name;
    };
    const auto isLive = [&source](ItemRef item) {
        const int index = itemIndex(item);
        if (itemIsFolder(item))
            return index > 0 && index < source.folderCount() && source.folderIsLive(index);
        return source.recordIsLive(index);
    };
    if (ask) {
        bool clash = false;
        for (const ItemRef item : selection)
            clash = clash || (isLive(item) && target.nameTaken(targetFolder, nameOf(item)));
        if (clash
            && !m_prompter.confirm(texts::copyConfirmTitle.bytes(), texts::copyConfirmText.bytes()))
            return;
    }

    for (const ItemRef item : selection) {
        if (!isLive(item))
            continue;
        const int index = itemIndex(item);
        std::optional<std::string> newName;
        if (target.nameTaken(targetFolder, nameOf(item)))
            newName = target.uniqueName(targetFolder, nameOf(item), NameStyle::copy);
        if (!itemIsFolder(item)) {
            source.copyRecord(index, target, targetFolder, std::move(newName));
            if (move) {
                sendRemoval(WindowRecordRemoved, sourceCollection, index);
                source.detachRecordDeferred(index);
            }
            continue;
        }
        const int copy = source.copyFolder(index, target, targetFolder, std::move(newName));
        if (copy < 0) {
            tellFolderTableFull();
            break;
        }
        target.clearShareSubtree(copy);
        if (move && sourceCollection != trashCollection)
            m_views.folderRemoved({ sourceCollection, index });
        m_views.folderInserted({ targetCollection, copy });
        if (move) {
            sendRemoval(WindowFolderRemoved, sourceCollection, index);
            source.removeFolder(index);
        }
    }
    source.finishDetaching();
    reloadIfStillShown(shownBefore);
}

bool LibraryOperations::trashIsEmpty() const
{
    const RecordFolder& root = tree(trashCollection).folder(0);
    return root.children.empty() && root.records.empty();
}

void LibraryOperations::emptyTrash()
{
    // Every index of the trash is given up: windows showing anything of it close.
    sendRemoval(WindowFolderRemoved, trashCollection, 0);
    tree(trashCollection).clear();
    if (m_views.shownFolder().collection == trashCollection)
        m_views.reloadList();
}

int LibraryOperations::importLine(int collection, int folder, std::string_view line)
{
    OthelloGame game;
    game.reset();
    game.selectVariant(OthelloBoard::kVariantStandard);
    if (game.replay(textToMoves(line)) == 0)
        return -1;
    CollectionTree& t = tree(collection);
    const std::string name
        = t.uniqueName(folder, texts::importedRecordName.bytes(), NameStyle::numbered);
    GameRecord record = recordFromGame(game, name, m_library.openingBook());
    record.endType = GameRecord::unfinished;
    const int slot = t.addRecord(folder, std::move(record));
    if (listShows(collection, folder))
        m_views.recordRowAdded(collection, slot);
    return 0;
}

ImportResult LibraryOperations::importText(int collection, int folder, std::string_view text)
{
    ImportResult result;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        const bool tooLong = line.size() > kImportLineBytes;
        if (tooLong)
            line = line.substr(0, kImportLineBytes + 1);
        if (importLine(collection, folder, line) == 0)
            ++result.filed;
        else
            ++result.failed;
        if (tooLong) {
            result.stoppedEarly = true;
            break;
        }
    }
    return result;
}

ArchiveImportResult LibraryOperations::importFile(
    int collection, int parent, const std::string& path, const ArchiveProgress& progress)
{
    ArchiveImportResult result
        = importArchiveFile(tree(collection), m_library.openingBook(), parent, path, progress);
    if (result.folder < 0)
        return result;
    m_views.folderInserted({ collection, result.folder });
    if (listShows(collection, parent))
        m_views.folderRowAdded({ collection, result.folder });
    return result;
}

int LibraryOperations::fileCapturedGame(int collection, int folder, const CapturedGame& game)
{
    CollectionTree& t = tree(collection);
    GameRecord record;
    record.name = t.uniqueName(folder, game.name, NameStyle::copy);
    record.blackPlayer = static_cast<int16_t>(
        game.blackName.empty() ? 0 : t.playerNames().findOrAdd(game.blackName));
    record.whitePlayer = static_cast<int16_t>(
        game.whiteName.empty() ? 0 : t.playerNames().findOrAdd(game.whiteName));
    record.winner = static_cast<int8_t>(game.winner);
    record.endType = static_cast<int8_t>(game.endType);
    record.playedAt = game.playedAt;
    record.moves = MoveList::fromBytes(game.moves.bytes().substr(
        0, static_cast<size_t>(std::clamp(game.moveCount, 0, MoveList::kMaxMoves))));
    record.orientation = static_cast<int8_t>(game.orientation);
    if (game.endType == GameRecord::normalEnd) {
        record.blackDiscs = static_cast<int8_t>(game.blackDiscs);
        record.whiteDiscs = static_cast<int8_t>(game.whiteDiscs);
    }
    m_library.nameOpening(record);
    const int slot = t.addRecord(folder, std::move(record));
    if (listShows(collection, folder))
        m_views.recordRowAdded(collection, slot);
    return slot;
}

int LibraryOperations::ensurePath(int collection, int folder, std::string_view path)
{
    StringList parts;
    parts.split(path, '\\');
    int current = folder;
    for (const ByteString& part : parts) {
        if (part.empty())
            continue;
        int child = tree(collection).findChild(current, part.view());
        if (child < 0)
            child = newFolder(collection, current, std::string(part.view()), 0);
        if (child < 0)
            return -1;
        current = child;
    }
    return current;
}

bool LibraryOperations::loadNews()
{
    RecordCollection data;
    if (loadCollection(
            m_library.filePath(texts::newsFileName.bytes()), data, m_library.openingBook())
            != 0
        || data.folders.empty())
        return false;
    CollectionTree news;
    news.adopt(std::move(data));
    CollectionTree& network = tree(networkCollection);
    const RecordFolder& newsRoot = news.folder(0);
    const int32_t created
        = newsRoot.records.empty() ? 0 : news.record(newsRoot.records.front()).playedAt;
    const int newsFolder = network.addFolder(0, texts::newsFolderName.bytes(), created);
    if (newsFolder < 0)
        return false;
    network.setShareComment(newsFolder, texts::newsFolderComment.bytes());
    for (const int child : newsRoot.children) {
        const int copy = news.copyFolder(child, network, newsFolder);
        if (copy >= 0)
            network.setShareComment(copy, news.folder(child).shareComment);
    }
    m_views.folderInserted({ networkCollection, newsFolder });
    return true;
}

void LibraryOperations::clearNetworkComputers()
{
    // Every index of the collection is given up: windows showing anything of it close.
    sendRemoval(WindowFolderRemoved, networkCollection, 0);
    tree(networkCollection).clear();
    m_views.folderChildrenRemoved({ networkCollection, 0 });
    if (m_views.shownFolder().collection == networkCollection)
        m_views.reloadList();
}

void LibraryOperations::setComputerComment(std::string_view name, std::string comment)
{
    CollectionTree& network = tree(networkCollection);
    const int folder = network.findChild(0, name);
    if (folder < 0)
        return;
    network.setShareComment(folder, std::move(comment));
    if (listShows(networkCollection, 0))
        m_views.folderRowUpdated({ networkCollection, folder });
}

void LibraryOperations::deleteComputerFolder(std::string_view name)
{
    const int folder = tree(networkCollection).findChild(0, name);
    if (folder >= 0)
        deleteFolder(networkCollection, folder, 0, 1);
}
