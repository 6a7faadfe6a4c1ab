#include "ui/recordlistview.h"

#include "board/notation.h"
#include "library/libraryoperations.h"
#include "library/libraryprompter.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "net/networksession.h"
#include "platform/clipboardtext.h"
#include "platform/sjis.h"
#include "records/gamerecord.h"
#include "records/textlimits.h"
#include "ui/fileimport.h"
#include "ui/folderpropertieswindow.h"
#include "ui/internalclipboard.h"
#include "ui/kaexportcommand.h"
#include "ui/libraryaccess.h"
#include "ui/mainwindow.h"
#include "ui/programservices.h"
#include "ui/recorddrag.h"
#include "ui/recordlistmodel.h"
#include "ui/typedname.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTimerEvent>

#include <algorithm>

namespace {

// The column widths of each layout, in pixels.
const std::vector<int>& defaultWidths(ListMode mode)
{
    static const std::vector<int> records { 108, 80, 80, 64, 64, 104 };
    static const std::vector<int> trash { 108, 108, 80, 80, 64, 64, 104 };
    static const std::vector<int> computers { 108, 256 };
    switch (mode) {
    case ListMode::Trash:
        return trash;
    case ListMode::Computers:
        return computers;
    default:
        return records;
    }
}

} // namespace

RecordListView::RecordListView(
    LibraryAccess& document, const LibraryImageList& images, MainWindow* frame, QWidget* parent)
    : QTreeView(parent)
    , m_document(document)
    , m_frame(frame)
    , m_model(new RecordListModel(document.library(), images, this))
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    // One fixed row height lets the view lay out a folder of 100,000 records without measuring
    // every row.
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // F2 or a click on the selected row renames it where the listing allows it.
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setIconSize(QSize(16, 16));
    setSortingEnabled(false);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    setMinimumWidth(10);

    setModel(m_model);
    applyColumns(m_model->mode());
    connect(header(), &QHeaderView::sectionClicked, this, &RecordListView::sortByColumn);
    // As in the tree, the typed name is checked once the editor has closed.
    m_model->setRenameHandler([this](int row, const QString& text) {
        const ItemRef key = m_model->keyAt(row);
        QMetaObject::invokeMethod(
            this, [this, key, text] { finishRename(key, text); }, Qt::QueuedConnection);
    });
    registerCommands();
    if (m_frame) {
        // The list runs its drags itself (see drag()); Qt's own drag start keeps a multiple
        // selection intact when a selected row is pressed.
        m_model->setDraggable(true);
        setDragEnabled(true);
        // Files dragged from a file manager may be dropped here (dropEvent).
        viewport()->setAcceptDrops(true);
    }
}

RecordDrag* RecordListView::drag()
{
    // Made on first use: the tree, a drop target, comes after the list in the frame.
    if (!m_drag && m_frame && m_frame->folderTreeView())
        m_drag = std::make_unique<RecordDrag>(
            *this, *m_frame->folderTreeView(), m_document, m_frame->app().cursors());
    return m_drag.get();
}

RecordListView::~RecordListView() = default;

void RecordListView::registerCommands()
{
    // The properties of records (and two identifiers no menu shows) have a handler that does
    // nothing, so their items are enabled and choosing them changes nothing; so has 検索 here.
    for (CommandId id : { CommandId::RecordProperties, CommandId::UnusedProperties32773,
             CommandId::UnusedProperties32782, CommandId::TrashItemProperties, CommandId::Search })
        onCommand(id, [] {});

    const auto outsideNetwork
        = [this](CommandState& s) { s.enabled = shownFolder().collection != networkCollection; };
    onCommand(
        CommandId::NewFolder, [this] { newItem(true); },
        [this](CommandState& s) { s.enabled = showsEditableFolder(); });
    onCommand(
        CommandId::NewRecord, [this] { newItem(false); },
        [this](CommandState& s) { s.enabled = showsEditableFolder(); });
    // 開く on a record and a double click on its row: the record the menu or the click was on.
    onCommand(CommandId::OpenRecord, [this] {
        const FolderKey shown = shownFolder();
        if (m_frame && shown.valid() && !m_menuOnShownFolder && !itemIsFolder(m_menuItem))
            m_frame->openViewer(shown.collection, itemIndex(m_menuItem));
    });
    onCommand(CommandId::EditRecord, [this] {
        const FolderKey shown = shownFolder();
        if (m_frame && shown.valid() && !m_menuOnShownFolder && !itemIsFolder(m_menuItem))
            m_frame->openEditor(shown.collection, itemIndex(m_menuItem));
    });
    // プロパティ on a folder row or on the shown folder (a computer's are its user's), 共有 on a
    // folder row.
    onCommand(CommandId::FolderProperties, [this] {
        const FolderKey folder = menuFolder();
        if (!m_frame || !folder.valid())
            return;
        if (folder.collection == networkCollection
            && m_document.library().collection(networkCollection).depth(folder.folder) == 1)
            m_frame->openComputerProperties(folder);
        else
            m_frame->openFolderProperties(folder, FolderPropertiesWindow::GeneralTab);
    });
    onCommand(CommandId::Share, [this] {
        if (m_frame && menuFolder().valid())
            m_frame->openFolderProperties(menuFolder(), FolderPropertiesWindow::SharingTab);
    });
    onCommand(CommandId::ComputerProperties, [this] {
        if (m_frame)
            m_frame->openComputerProperties(menuFolder());
    });
    onCommand(CommandId::Chat, [this] {
        if (m_frame)
            m_frame->openChat(menuFolder());
    });
    onCommand(CommandId::OpenFolderRow, [this] { openFolderOf(menuFolder()); });
    onCommand(CommandId::OpenFolder, [this] { openFolderOf(menuFolder()); });
    onCommand(CommandId::OpenComputer, [this] { openFolderOf(menuFolder()); });
    onCommand(
        CommandId::ParentFolder,
        [this] {
            const FolderKey shown = shownFolder();
            if (!shown.valid() || shown.folder == 0)
                return;
            const int parent
                = m_document.library().collection(shown.collection).folder(shown.folder).parent;
            openFolderOf({ shown.collection, parent });
        },
        [this](
            CommandState& s) { s.enabled = shownFolder().valid() && shownFolder().folder != 0; });
    onCommand(
        CommandId::DeleteItems, [this] { deleteSelection(); }, outsideNetwork);
    onCommand(
        CommandId::DeleteForGood, [this] { deleteSelection(); }, outsideNetwork);
    onCommand(
        CommandId::DeleteFolderRow, [this] { deleteMenuFolder(); }, outsideNetwork);
    onCommand(
        CommandId::DeleteFolder, [this] { deleteMenuFolder(); }, outsideNetwork);
    for (CommandId id :
        { CommandId::RenameFolderRow, CommandId::RenameRecordRow, CommandId::RenameFolder })
        onCommand(
            id, [this] { renameMenuItem(); }, outsideNetwork);
    onCommand(CommandId::PasteIntoFolder, [this] { m_document.pasteInto(menuFolder()); });
    onCommand(CommandId::ExportKa, [this] {
        exportFolderAsKa(this, m_document.library(), menuFolder(), m_document.prompter());
    });
    for (CommandId id : { CommandId::EditCopy, CommandId::CopyItems, CommandId::CopyFolder })
        onCommand(
            id, [this] { copyOrCutSelection(false); },
            [this](CommandState& s) { s.enabled = canCopy(); });
    for (CommandId id : { CommandId::EditCut, CommandId::CutItems, CommandId::CutFolder })
        onCommand(
            id, [this] { copyOrCutSelection(true); },
            [this](CommandState& s) { s.enabled = canCut(); });
    onCommand(
        CommandId::EditPaste, [this] { m_document.pasteInto(shownFolder()); },
        [this](CommandState& s) { s.enabled = shownFolder().collection == myRecordsCollection; });
    // The shown folder comes again from the library, and a remote folder's listing is asked for.
    onCommand(CommandId::Refresh, [this] {
        emit refreshRequested(shownFolder());
        refresh();
    });
    onCommand(CommandId::SelectAll, [this] {
        selectAll();
        setFocus(Qt::ShortcutFocusReason);
    });
}

FolderKey RecordListView::shownFolder() const
{
    return m_model->shownFolder();
}

ListMode RecordListView::mode() const
{
    return m_model->mode();
}

bool RecordListView::showsEditableFolder() const
{
    const FolderKey shown = shownFolder();
    return shown.valid() && shown.collection != networkCollection
        && shown.collection != trashCollection;
}

bool RecordListView::networkConnected() const
{
    const NetworkSession* session = m_frame ? m_frame->app().networkSession() : nullptr;
    return session && session->isConnected();
}

void RecordListView::applyColumns(ListMode mode)
{
    const std::vector<int>& widths = defaultWidths(mode);
    // The widths were chosen for a narrow system font; a time column is widened when the font in
    // use would cut its "yy/mm/dd hh:mm:ss" short. The other columns keep their widths.
    const int timeWidth = fontMetrics().horizontalAdvance(QStringLiteral("00/00/00 00:00:00"))
        + 4 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 6;
    const std::vector<int> timeColumns = mode == ListMode::Trash ? std::vector<int> { 1, 6 }
        : mode == ListMode::Records                              ? std::vector<int> { 5 }
                                                                 : std::vector<int> {};
    for (size_t i = 0; i < widths.size(); ++i) {
        const int column = static_cast<int>(i);
        const bool isTime
            = std::find(timeColumns.begin(), timeColumns.end(), column) != timeColumns.end();
        header()->resizeSection(column, isTime ? std::max(widths[i], timeWidth) : widths[i]);
    }
}

void RecordListView::showFolder(FolderKey folder)
{
    const ListMode before = m_model->mode();
    const ListMode mode
        = folder.valid() ? RecordListModel::modeFor(m_document.library(), folder) : before;
    std::vector<int> widths;
    if (mode == before) {
        // The columns stay as they are within one layout, widths included.
        for (int i = 0; i < header()->count(); ++i)
            widths.push_back(header()->sectionSize(i));
    }
    const bool anotherFolder = folder != m_model->shownFolder();
    m_editing = false;
    m_renameDelay.stop();
    m_model->show(folder, mode);
    // Another folder is seen from its top, where its sub-folders are.
    if (anotherFolder)
        scrollToTop();
    showCutRows();
    m_model->setEditable(labelsEditable());
    if (mode != before || widths.size() != static_cast<size_t>(header()->count())) {
        applyColumns(mode);
    } else {
        for (size_t i = 0; i < widths.size(); ++i)
            header()->resizeSection(static_cast<int>(i), widths[i]);
    }
    emit folderShown(folder);
}

void RecordListView::showCutRows()
{
    // Rows cut from this folder keep their mark when the folder is shown again.
    const InternalClipboard& clip = m_document.clipboard();
    const FolderKey shown = shownFolder();
    if (clip.mode == InternalClipboard::cut && clip.sourceCollection == shown.collection
        && clip.sourceFolder == shown.folder)
        m_model->setCutItems(clip.items);
    else
        m_model->setCutItems({});
}

bool RecordListView::canCopy() const
{
    const FolderKey shown = shownFolder();
    return !selectionModel()->selectedRows().isEmpty() && shown.valid()
        && shown.collection != trashCollection && shown != FolderKey { networkCollection, 0 };
}

bool RecordListView::canCut() const
{
    const FolderKey shown = shownFolder();
    return !selectionModel()->selectedRows().isEmpty() && shown.valid()
        && shown.collection != trashCollection && shown.collection != networkCollection;
}

void RecordListView::copyOrCutSelection(bool cut)
{
    if (!(cut ? canCut() : canCopy()))
        return;
    const FolderKey shown = shownFolder();
    if (m_frame)
        m_frame->clearCutMarks();
    InternalClipboard& clip = m_document.clipboard();
    clip.reset();
    clip.mode = cut ? InternalClipboard::cut : InternalClipboard::copy;
    clip.sourceCollection = shown.collection;
    clip.sourceFolder = shown.folder;
    const CollectionTree& collection = m_document.library().collection(shown.collection);
    std::string text;
    bool firstRecord = true;
    for (int row : selectedRowNumbers()) {
        const ItemRef key = m_model->keyAt(row);
        clip.items.push_back(key);
        if (itemIsFolder(key))
            continue;
        if (!firstRecord)
            text += "\r\n";
        firstRecord = false;
        text += movesToText(playedMoves(collection.record(itemIndex(key))));
    }
    if (cut)
        m_model->setCutItems(clip.items);
    if (!text.empty()) {
        clipboardtext::put(text);
        clip.text = text;
    } else {
        clipboardtext::clear();
        clip.text.clear();
    }
}

QPixmap RecordListView::rowPicture(int row) const
{
    const int height = std::max(1, visualRect(m_model->index(row, 0)).height());
    QPixmap picture(std::max(1, header()->length()), height);
    picture.fill(palette().color(QPalette::Base));
    QPainter painter(&picture);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.state |= QStyle::State_Selected | QStyle::State_Active;
    for (int column = 0; column < m_model->columnCount(); ++column) {
        option.rect
            = QRect(header()->sectionPosition(column), 0, header()->sectionSize(column), height);
        const QModelIndex index = m_model->index(row, column);
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
    return picture;
}

void RecordListView::refresh()
{
    showFolder(shownFolder());
}

void RecordListView::addFolderRow(int folder)
{
    m_model->appendRow(folderItem(folder));
}

void RecordListView::addRecordRow(int slot)
{
    m_model->appendRow(recordItem(slot));
}

void RecordListView::renameFolderRow(int folder)
{
    m_model->refreshRow(folderItem(folder));
}

void RecordListView::renameRecordRow(int slot)
{
    m_model->refreshRow(recordItem(slot));
}

void RecordListView::updateRecordRow(int slot)
{
    if (slot == m_renamingSlot) {
        // A rename typed into the row changes its text where it stands.
        m_model->refreshRow(recordItem(slot));
        return;
    }
    m_model->removeRowOf(recordItem(slot));
    m_model->appendRow(recordItem(slot));
    scrollTo(m_model->index(m_model->rowOf(recordItem(slot)), 0));
}

void RecordListView::updateFolderRow(int folder)
{
    m_model->refreshRow(folderItem(folder));
}

void RecordListView::removeRecordRow(int slot)
{
    m_model->removeRowOf(recordItem(slot));
}

void RecordListView::sortByColumn(int column)
{
    const int mode = static_cast<int>(m_model->mode());
    if (column == m_sortColumn && mode == m_sortMode)
        m_sortDescending = !m_sortDescending;
    else
        m_sortDescending = false;
    m_sortColumn = column;
    m_sortMode = mode;
    m_model->sortRows(column, m_sortDescending);
}

std::vector<int> RecordListView::selectedRowNumbers() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void RecordListView::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

FolderKey RecordListView::menuFolder() const
{
    const FolderKey shown = shownFolder();
    if (m_menuOnShownFolder)
        return shown;
    if (!itemIsFolder(m_menuItem))
        return {};
    return { shown.collection, itemIndex(m_menuItem) };
}

void RecordListView::openFolderOf(FolderKey folder)
{
    if (folder.valid())
        m_document.selectFolder(folder);
}

void RecordListView::newItem(bool folder)
{
    const FolderKey shown = shownFolder();
    if (!showsEditableFolder())
        return;
    LibraryOperations& operations = m_document.operations();
    const int made = folder ? operations.newFolder(shown.collection, shown.folder)
                            : operations.newRecord(shown.collection, shown.folder);
    if (made < 0)
        return;
    const int row = m_model->rowOf(folder ? folderItem(made) : recordItem(made));
    if (row < 0)
        return;
    selectRow(row);
    startRename(row);
}

void RecordListView::deleteSelection()
{
    const FolderKey shown = shownFolder();
    if (!shown.valid() || shown.collection == networkCollection)
        return;
    const std::vector<int> rows = selectedRowNumbers();
    if (rows.empty())
        return;
    std::vector<ItemRef> selection;
    selection.reserve(rows.size());
    for (int row : rows)
        selection.push_back(m_model->keyAt(row));
    m_document.operations().deleteItems(shown.collection, selection);
    // The row that now stands where the first deleted one stood, or the last row.
    if (shownFolder() == shown && m_model->rowCount() > 0)
        selectRow(std::min(rows.front(), m_model->rowCount() - 1));
}

void RecordListView::deleteMenuFolder()
{
    const FolderKey folder = menuFolder();
    if (!folder.valid() || m_menuOnShownFolder || folder.collection == networkCollection)
        return;
    m_document.operations().deleteFolder(folder.collection, folder.folder);
}

void RecordListView::renameMenuItem()
{
    if (m_menuOnShownFolder)
        return;
    const int row = m_model->rowOf(m_menuItem);
    if (row >= 0)
        startRename(row);
}

bool RecordListView::labelsEditable() const
{
    const FolderKey shown = shownFolder();
    return shown.valid() && shown.collection != trashCollection
        && shown.collection != networkCollection;
}

void RecordListView::startRename(int row)
{
    if (row < 0 || row >= m_model->rowCount() || !labelsEditable())
        return;
    const QModelIndex index = m_model->index(row, 0);
    setFocus(Qt::OtherFocusReason);
    scrollTo(index);
    edit(index);
}

bool RecordListView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (trigger == SelectedClicked) {
        // The rename of a click waits here rather than in the base class, so that a double click,
        // a key or another press can cancel it for certain.
        if (labelsEditable() && index.isValid()) {
            m_renameKey = m_model->keyAt(index.row());
            m_renameDelay.start(QApplication::doubleClickInterval(), this);
        }
        return false;
    }
    if (trigger != NoEditTriggers) {
        // Only column 0 holds the name, whichever cell was clicked.
        const QModelIndex name = index.sibling(index.row(), 0);
        if (!labelsEditable())
            return false;
        m_renameDelay.stop();
        const bool started = QTreeView::edit(name, trigger, event);
        if (state() == EditingState)
            m_editing = true;
        return started;
    }
    return QTreeView::edit(index, trigger, event);
}

void RecordListView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_renameDelay.timerId()) {
        QTreeView::timerEvent(event);
        return;
    }
    m_renameDelay.stop();
    const int row = m_model->rowOf(m_renameKey);
    if (row >= 0 && selectedRowNumbers() == std::vector<int> { row })
        startRename(row);
}

void RecordListView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    m_editing = false;
    QTreeView::closeEditor(editor, hint);
}

void RecordListView::finishRename(ItemRef key, const QString& text)
{
    const FolderKey shown = shownFolder();
    if (!shown.valid() || m_model->rowOf(key) < 0)
        return;
    CollectionTree& collection = m_document.library().collection(shown.collection);
    const int index = itemIndex(key);
    const std::string name(fitName(toSjis(text)));
    const std::string& current
        = itemIsFolder(key) ? collection.folder(index).name : collection.record(index).name;
    if (name.empty() || name == current)
        return;
    if (!typedNameFits(text, m_document.prompter())) {
        startRename(m_model->rowOf(key));
        return;
    }
    if (!m_document.operations().checkName(
            shown.collection, shown.folder, name, &m_document.prompter())) {
        startRename(m_model->rowOf(key));
        return;
    }
    if (itemIsFolder(key)) {
        m_document.operations().renameFolder(shown.collection, index, name);
    } else {
        m_renamingSlot = index;
        m_document.operations().renameRecord(shown.collection, index, name);
        m_renamingSlot = -1;
    }
}

void RecordListView::contextMenuEvent(QContextMenuEvent* event)
{
    openContextMenu(event->pos());
    event->accept();
}

void RecordListView::openContextMenu(const QPoint& viewportPos)
{
    const FolderKey shown = shownFolder();
    if (!shown.valid() || !m_frame)
        return;
    const std::vector<int> rows = selectedRowNumbers();
    const bool inTrash = shown.collection == trashCollection;
    const bool inNetwork = shown.collection == networkCollection;
    m_menuOnShownFolder = rows.empty();
    m_menuItem = rows.empty() ? 0 : m_model->keyAt(rows.front());

    std::unique_ptr<QMenu> menu;
    if (rows.empty()) {
        if (inTrash) {
            // ごみ箱を空にする is grayed by its own rule while the trash is empty.
            menu = m_frame->contextMenu(ContextMenu::Dustbox, this);
            MainWindow::grayItems(*menu, { CommandId::OpenTrash });
        } else if (shown == FolderKey { yahooCollection, 0 }) {
            menu = m_frame->contextMenu(ContextMenu::Yahoo, this);
        } else if (shown == FolderKey { networkCollection, 0 }) {
            menu = m_frame->contextMenu(ContextMenu::Network, this);
            MainWindow::grayItems(
                *menu, { networkConnected() ? CommandId::Connect : CommandId::Disconnect });
        } else if (inNetwork) {
            menu = m_frame->contextMenu(ContextMenu::NetRecordList, this);
        } else {
            menu = m_frame->contextMenu(ContextMenu::RecordList, this);
            if (shown.folder == 0)
                MainWindow::grayItems(*menu, { CommandId::ParentFolder });
        }
    } else if (rows.size() == 1 && !itemIsFolder(m_menuItem)) {
        menu = m_frame->contextMenu(inTrash ? ContextMenu::DustboxKif : ContextMenu::Kif, this);
    } else if (rows.size() == 1) {
        if (inTrash) {
            menu = m_frame->contextMenu(ContextMenu::DustboxKif, this);
        } else if (shown == FolderKey { networkCollection, 0 }) {
            menu = m_frame->contextMenu(ContextMenu::NetPc, this);
        } else {
            menu = m_frame->contextMenu(ContextMenu::FolderTree, this);
            if (!m_document.clipboard().holdsItemsOrText())
                MainWindow::grayItems(*menu, { CommandId::PasteIntoFolder });
        }
    } else {
        menu = m_frame->contextMenu(inTrash ? ContextMenu::DustboxKif : ContextMenu::Multi, this);
        if (inTrash)
            MainWindow::grayItems(*menu, { CommandId::TrashItemProperties });
    }
    if (inNetwork) {
        // Nothing of somebody else's computer can be changed from here.
        MainWindow::grayItems(*menu,
            { CommandId::NewFolder, CommandId::NewRecord, CommandId::Share, CommandId::CutItems,
                CommandId::CutFolder, CommandId::PasteIntoFolder, CommandId::DeleteItems,
                CommandId::DeleteFolder, CommandId::RenameFolderRow, CommandId::RenameRecordRow,
                CommandId::RenameFolder, CommandId::EditRecord });
    }
    m_frame->trackContextMenu(*menu, this, viewport()->mapToGlobal(viewportPos));
}

void RecordListView::keyPressEvent(QKeyEvent* event)
{
    m_renameDelay.stop();
    if (event->key() == Qt::Key_Control) {
        m_ctrlDown = true;
        if (m_drag)
            m_drag->ctrlChanged(true);
    }
    // Delete acts when the key comes up.
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void RecordListView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Control) {
        m_ctrlDown = false;
        if (m_drag)
            m_drag->ctrlChanged(false);
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && !m_editing
        && !event->isAutoRepeat()) {
        deleteSelection();
        event->accept();
        return;
    }
    QTreeView::keyReleaseEvent(event);
}

void RecordListView::mousePressEvent(QMouseEvent* event)
{
    m_renameDelay.stop();
    m_doubleClicked = false;
    if (m_drag && m_drag->active()) {
        // A right click gives the drag up.
        if (event->button() == Qt::RightButton)
            m_drag->cancel();
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton)
        m_pressPos = event->position().toPoint();
    QTreeView::mousePressEvent(event);
}

void RecordListView::mouseMoveEvent(QMouseEvent* event)
{
    m_lastMouse = event->globalPosition().toPoint();
    if (m_drag && m_drag->active()) {
        m_drag->move(m_lastMouse, event->modifiers() & Qt::ControlModifier);
        event->accept();
        return;
    }
    QTreeView::mouseMoveEvent(event);
}

void RecordListView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_drag && m_drag->active()) {
        if (event->button() == Qt::LeftButton)
            m_drag->drop(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
    // The release that ends a double click is no click on a selected row.
    if (m_doubleClicked) {
        m_doubleClicked = false;
        m_renameDelay.stop();
    }
}

void RecordListView::startDrag(Qt::DropActions)
{
    RecordDrag* started = drag();
    if (started && started->begin(m_pressPos, m_lastMouse))
        started->move(m_lastMouse, QGuiApplication::keyboardModifiers() & Qt::ControlModifier);
}

void RecordListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click opens; it never renames.
    m_renameDelay.stop();
    m_doubleClicked = true;
    const QModelIndex index = indexAt(event->position().toPoint());
    const FolderKey shown = shownFolder();
    if (!index.isValid() || !shown.valid() || event->button() != Qt::LeftButton) {
        QTreeView::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    if (shown.collection == trashCollection)
        return;
    const ItemRef key = m_model->keyAt(index.row());
    if (itemIsFolder(key))
        openFolderOf({ shown.collection, itemIndex(key) });
    else if (m_frame) {
        m_menuOnShownFolder = false;
        m_menuItem = key;
        m_frame->dispatch(CommandId::OpenRecord, this);
    }
}

void RecordListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!FileImport::answerFileDrag(
            m_document, *event, fileDropTarget(event->position().toPoint())))
        QTreeView::dragEnterEvent(event);
}

void RecordListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!FileImport::answerFileDrag(
            m_document, *event, fileDropTarget(event->position().toPoint())))
        QTreeView::dragMoveEvent(event);
}

void RecordListView::dropEvent(QDropEvent* event)
{
    const FolderKey target = fileDropTarget(event->position().toPoint());
    if (!FileImport::takeFileDrop(m_document, *event, target, m_frame))
        QTreeView::dropEvent(event);
}

FolderKey RecordListView::fileDropTarget(const QPoint& viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    if (index.isValid() && itemIsFolder(m_model->keyAt(index.row())))
        return { shownFolder().collection, itemIndex(m_model->keyAt(index.row())) };
    return shownFolder();
}
