#include "app/czelphdoc.h"

#include "app/internalclipboard.h"
#include "library/textformat.h"
#include "net/notices.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/cdirview.h"
#include "ui/ckifview.h"
#include "ui/cmainframe.h"

#include <QFile>

#include <algorithm>

namespace {

// A file name as the user reads it, in the texts' CP932.
std::string shownPath(const std::string& path)
{
    return toSjis(QFile::decodeName(QByteArray::fromStdString(path)));
}

} // namespace

CZelphDoc::CZelphDoc(Settings& settings, std::string dataDirectory, InternalClipboard& clipboard,
    UserPrompter* prompter)
    : m_settings(settings)
    , m_dataDirectory(std::move(dataDirectory))
    , m_clipboard(clipboard)
    , m_prompter(prompter ? prompter : &m_messageBoxes)
    , m_operations(m_library, m_settings, *this, *this, *this)
{
    m_loadReport = m_library.load(m_dataDirectory, m_settings.installed);

    onCommand(CommandId::Save, [this] { save(); });
    onCommand(
        CommandId::EmptyTrash, [this] { m_operations.emptyTrash(); },
        [this](CommandState& s) { s.enabled = !m_operations.trashIsEmpty(); });
}

CZelphDoc::~CZelphDoc() = default;

std::string CZelphDoc::filePath(std::string_view fileName) const
{
    return m_library.filePath(std::string(fileName));
}

void CZelphDoc::attachViews(CDirView& tree, CKifView& list, CMainFrame& frame)
{
    m_tree = &tree;
    m_list = &list;
    m_frame = &frame;
    m_messageBoxes.setOwner(&frame);
    m_tree->build();
}

void CZelphDoc::detachViews()
{
    m_tree = nullptr;
    m_list = nullptr;
    m_frame = nullptr;
    m_messageBoxes.setOwner(nullptr);
}

void CZelphDoc::reportLoadProblems()
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

std::string CZelphDoc::keptCopyOf(const std::string& file) const
{
    // The kept copy of a file is named after it: "private.kif.bad", "private.kif.bad2", ….
    for (const std::string& copy : m_loadReport.keptCopies) {
        if (copy.rfind(file + ".", 0) == 0)
            return copy;
    }
    return {};
}

std::string CZelphDoc::saveFailureText(const std::vector<SaveFailure>& failed) const
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

bool CZelphDoc::save()
{
    const std::vector<SaveFailure> failed = m_library.saveAll();
    if (failed.empty())
        return true;
    showError(texts::saveErrorTitle, saveFailureText(failed));
    return false;
}

void CZelphDoc::saveAtExit()
{
    for (;;) {
        const std::vector<SaveFailure> failed = m_library.saveAll();
        if (failed.empty())
            return;
        if (!retry(
                texts::saveErrorTitle, saveFailureText(failed) + texts::saveFailedAtExit.bytes()))
            return;
    }
}

void CZelphDoc::selectFolder(FolderKey folder)
{
    if (m_tree)
        m_tree->select(folder);
}

std::vector<ItemRef> CZelphDoc::liveClipboardItems() const
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

void CZelphDoc::pasteInto(FolderKey target)
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

bool CZelphDoc::confirm(const std::string& title, const std::string& text)
{
    return m_prompter->confirm(title, text);
}

void CZelphDoc::showError(const std::string& title, const std::string& text)
{
    m_prompter->showError(title, text);
}

bool CZelphDoc::retry(const std::string& title, const std::string& text)
{
    return m_prompter->retry(title, text);
}

bool CZelphDoc::listShows(int collection) const
{
    return m_list && m_list->shownFolder().collection == collection;
}

FolderKey CZelphDoc::shownFolder() const
{
    return m_list ? m_list->shownFolder() : FolderKey {};
}

void CZelphDoc::folderInserted(FolderKey folder)
{
    if (m_tree)
        m_tree->insertFolder(folder);
}

void CZelphDoc::folderRemoved(FolderKey folder)
{
    if (m_tree)
        m_tree->removeFolder(folder);
}

void CZelphDoc::folderChildrenRemoved(FolderKey folder)
{
    if (m_tree)
        m_tree->removeChildren(folder);
}

void CZelphDoc::folderRenamed(FolderKey folder)
{
    if (m_tree)
        m_tree->renameFolder(folder);
    if (listShows(folder.collection))
        m_list->renameFolderRow(folder.folder);
}

void CZelphDoc::folderShared(FolderKey folder, bool shared)
{
    if (m_tree)
        m_tree->setShared(folder, shared);
}

void CZelphDoc::folderRowAdded(FolderKey folder)
{
    if (listShows(folder.collection))
        m_list->addFolderRow(folder.folder);
}

void CZelphDoc::folderRowUpdated(FolderKey folder)
{
    if (listShows(folder.collection))
        m_list->updateFolderRow(folder.folder);
}

void CZelphDoc::recordRowAdded(int collection, int slot)
{
    if (listShows(collection))
        m_list->addRecordRow(slot);
}

void CZelphDoc::recordRowUpdated(int collection, int slot)
{
    if (listShows(collection))
        m_list->updateRecordRow(slot);
}

void CZelphDoc::recordRowRemoved(int collection, int slot)
{
    if (listShows(collection))
        m_list->removeRecordRow(slot);
}

void CZelphDoc::reloadList()
{
    if (m_list)
        m_list->refresh();
}

int32_t CZelphDoc::sendWindowNotice(int32_t kind, uint32_t key, uint32_t extra)
{
    return m_frame ? m_frame->notify(WindowNotice(kind, key, extra)) : 0;
}
