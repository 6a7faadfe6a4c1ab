#include "app/librarydocument.h"

#include "library/textformat.h"
#include "net/notices.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/foldertreeview.h"
#include "ui/internalclipboard.h"
#include "ui/mainwindow.h"
#include "ui/recordlistmodel.h"
#include "ui/recordlistview.h"

#include <QFile>

#include <algorithm>

namespace {

// A file name as the user reads it, in the texts' CP932.
std::string shownPath(const std::string& path)
{
    return toSjis(QFile::decodeName(QByteArray::fromStdString(path)));
}

} // namespace

LibraryDocument::LibraryDocument(Settings& settings, std::string dataDirectory,
    InternalClipboard& clipboard, UserPrompter* prompter)
    : m_settings(settings)
    , m_dataDirectory(std::move(dataDirectory))
    , m_clipboard(clipboard)
    , m_prompter(prompter ? prompter : &m_messageBoxes)
    , m_operations(m_library, m_settings, *this, *this, *this)
{
    // The opening names travel inside the program too, for a data directory without its own.
    QFile builtIn(QStringLiteral(":/opening.txt"));
    const QByteArray openings
        = builtIn.open(QIODevice::ReadOnly) ? builtIn.readAll() : QByteArray();
    m_loadReport = m_library.load(m_dataDirectory, m_settings.installed,
        std::string_view(openings.constData(), static_cast<size_t>(openings.size())));

    onCommand(CommandId::Save, [this] { save(); });
    onCommand(
        CommandId::EmptyTrash, [this] { m_operations.emptyTrash(); },
        [this](CommandState& s) { s.enabled = !m_operations.trashIsEmpty(); });
}

LibraryDocument::~LibraryDocument() = default;

std::string LibraryDocument::filePath(std::string_view fileName) const
{
    return m_library.filePath(std::string(fileName));
}

void LibraryDocument::attachViews(FolderTreeView& tree, RecordListView& list, MainWindow& frame)
{
    m_tree = &tree;
    m_list = &list;
    m_frame = &frame;
    m_messageBoxes.setOwner(&frame);
    m_tree->build();
}

void LibraryDocument::detachViews()
{
    m_tree = nullptr;
    m_list = nullptr;
    m_frame = nullptr;
    m_messageBoxes.setOwner(nullptr);
}

void LibraryDocument::reportLoadProblems()
{
    if (m_loadReported)
        return;
    m_loadReported = true;
    for (const std::string& file : m_loadReport.unreadableFiles) {
        const std::string kept = keptCopyOf(file);
        if (!kept.empty())
            showError(texts::loadErrorTitle,
                formatText(texts::loadFailedKept.bytes(), { shownPath(file), shownPath(kept) }));
        else
            showError(texts::loadErrorTitle,
                formatText(texts::loadFailedNotKept.bytes(), { shownPath(file) }));
    }
}

std::string LibraryDocument::keptCopyOf(const std::string& file) const
{
    // The kept copy of a file is named after it: "private.kif.bad", "private.kif.bad2", ….
    for (const std::string& copy : m_loadReport.keptCopies) {
        if (copy.rfind(file + ".", 0) == 0)
            return copy;
    }
    return {};
}

std::string LibraryDocument::saveFailureText(const std::vector<SaveFailure>& failed) const
{
    std::string text;
    for (const SaveFailure& failure : failed) {
        if (!text.empty())
            text += "\n\n";
        text += formatText(texts::saveFailed.bytes(),
            { shownPath(failure.path), saveFailureReason(failure).bytes() });
    }
    return text;
}

void LibraryDocument::tellKeptCopies(const std::vector<std::string>& kept)
{
    // A file held back at start could be kept only now: the user heard it could not be, so is
    // told where it went.
    for (const std::string& copy : kept) {
        const std::string file = copy.substr(0, copy.rfind(".bad"));
        showError(texts::loadErrorTitle,
            formatText(texts::savedAfterKeeping.bytes(), { shownPath(file), shownPath(copy) }));
    }
}

bool LibraryDocument::save()
{
    std::vector<std::string> kept;
    const std::vector<SaveFailure> failed = m_library.saveAll(&kept);
    tellKeptCopies(kept);
    if (failed.empty())
        return true;
    showError(texts::saveErrorTitle, saveFailureText(failed));
    return false;
}

void LibraryDocument::saveAtExit()
{
    for (;;) {
        std::vector<std::string> kept;
        const std::vector<SaveFailure> failed = m_library.saveAll(&kept);
        tellKeptCopies(kept);
        if (failed.empty())
            return;
        if (!retry(
                texts::saveErrorTitle, saveFailureText(failed) + texts::saveFailedAtExit.bytes()))
            return;
    }
}

void LibraryDocument::selectFolder(FolderKey folder)
{
    if (m_tree)
        m_tree->select(folder);
}

std::vector<ItemRef> LibraryDocument::liveClipboardItems() const
{
    // The items were taken some time ago: whatever has since left its folder (moved, deleted, or
    // the folder itself gone) is no longer there to paste.
    std::vector<ItemRef> live;
    const InternalClipboard& clip = m_clipboard;
    if (clip.sourceCollection < 0 || clip.sourceCollection >= collectionCount)
        return live;
    const CollectionTree& source = m_library.collection(clip.sourceCollection);
    if (clip.sourceFolder < 0 || clip.sourceFolder >= source.folderCount()
        || !source.folderIsLive(clip.sourceFolder))
        return live;
    for (ItemRef item : clip.items) {
        const int index = itemIndex(item);
        if (itemIsFolder(item)) {
            if (index > 0 && index < source.folderCount() && source.folderIsLive(index)
                && source.folder(index).parent == clip.sourceFolder)
                live.push_back(item);
        } else if (index >= 0 && index < source.slotCount() && source.recordIsLive(index)
            && source.record(index).folder == clip.sourceFolder) {
            live.push_back(item);
        }
    }
    return live;
}

void LibraryDocument::pasteInto(FolderKey target)
{
    if (!target.valid() || target.collection == trashCollection
        || target.collection == networkCollection)
        return;
    InternalClipboard& clip = m_clipboard;
    if (clip.holdsItems()) {
        const std::vector<ItemRef> items = liveClipboardItems();
        const bool move = clip.mode == InternalClipboard::cut;
        if (!items.empty())
            m_operations.moveOrCopy(clip.sourceCollection, clip.sourceFolder, items,
                target.collection, target.folder, move);
        if (m_list)
            m_list->listModel().setCutItems({});
        // Once cut items have gone, the clipboard must not name their old places any more: a freed
        // record slot may hold another record by the next paste.
        if (liveClipboardItems().empty()) {
            clip.reset();
            if (m_tree)
                m_tree->setCutFolder({});
        }
        return;
    }
    if (!clip.text.empty()) {
        const ImportResult result
            = m_operations.importText(target.collection, target.folder, clip.text);
        if (result.dropClipboardText())
            clip.text.clear();
    }
}

bool LibraryDocument::confirm(const std::string& title, const std::string& text)
{
    return m_prompter->confirm(title, text);
}

void LibraryDocument::showError(const std::string& title, const std::string& text)
{
    m_prompter->showError(title, text);
}

bool LibraryDocument::retry(const std::string& title, const std::string& text)
{
    return m_prompter->retry(title, text);
}

bool LibraryDocument::listShows(int collection) const
{
    return m_list && m_list->shownFolder().collection == collection;
}

FolderKey LibraryDocument::shownFolder() const
{
    return m_list ? m_list->shownFolder() : FolderKey {};
}

void LibraryDocument::folderInserted(FolderKey folder)
{
    if (m_tree)
        m_tree->insertFolder(folder);
}

void LibraryDocument::folderRemoved(FolderKey folder)
{
    if (m_tree)
        m_tree->removeFolder(folder);
}

void LibraryDocument::folderChildrenRemoved(FolderKey folder)
{
    if (m_tree)
        m_tree->removeChildren(folder);
}

void LibraryDocument::folderRenamed(FolderKey folder)
{
    if (m_tree)
        m_tree->renameFolder(folder);
    if (listShows(folder.collection))
        m_list->renameFolderRow(folder.folder);
}

void LibraryDocument::folderShared(FolderKey folder, bool shared)
{
    if (m_tree)
        m_tree->setShared(folder, shared);
}

void LibraryDocument::folderRowAdded(FolderKey folder)
{
    if (listShows(folder.collection))
        m_list->addFolderRow(folder.folder);
}

void LibraryDocument::folderRowUpdated(FolderKey folder)
{
    if (listShows(folder.collection))
        m_list->updateFolderRow(folder.folder);
}

void LibraryDocument::recordRowAdded(int collection, int slot)
{
    if (listShows(collection))
        m_list->addRecordRow(slot);
}

void LibraryDocument::recordRowUpdated(int collection, int slot)
{
    if (listShows(collection))
        m_list->updateRecordRow(slot);
}

void LibraryDocument::recordRowRemoved(int collection, int slot)
{
    if (listShows(collection))
        m_list->removeRecordRow(slot);
}

void LibraryDocument::reloadList()
{
    if (m_list)
        m_list->refresh();
}

int32_t LibraryDocument::sendWindowNotice(int32_t kind, uint32_t key, uint32_t extra)
{
    return m_frame ? m_frame->notify(WindowNotice(kind, key, extra)) : 0;
}
