#include "ui/foldertreeview.h"

#include "library/libraryoperations.h"
#include "library/libraryprompter.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "net/networksession.h"
#include "platform/sjis.h"
#include "records/textlimits.h"
#include "text/texts.h"
#include "ui/fileimport.h"
#include "ui/folderpropertieswindow.h"
#include "ui/foldertreemodel.h"
#include "ui/internalclipboard.h"
#include "ui/kaexportcommand.h"
#include "ui/libraryaccess.h"
#include "ui/mainwindow.h"
#include "ui/programservices.h"
#include "ui/recorddrag.h"
#include "ui/recordlistview.h"
#include "ui/typedname.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimerEvent>

FolderTreeView::FolderTreeView(
    LibraryAccess& document, const LibraryImageList& images, MainWindow* frame, QWidget* parent)
    : QTreeView(parent)
    , m_document(document)
    , m_frame(frame)
    , m_model(new FolderTreeModel(document.library(), images, this))
{
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // F2 or a click on the selected node renames it; the model refuses what may not be renamed.
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setIconSize(QSize(16, 16));
    setMinimumWidth(10);
    // The selected folder stays marked while another pane has the focus: the list shows it.
    QPalette keep = palette();
    keep.setColor(
        QPalette::Inactive, QPalette::Highlight, keep.color(QPalette::Active, QPalette::Highlight));
    keep.setColor(QPalette::Inactive, QPalette::HighlightedText,
        keep.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(keep);

    setModel(m_model);
    // Files dragged from a file manager may be dropped on a node (dropEvent).
    if (m_frame)
        viewport()->setAcceptDrops(true);
    // The rename is checked and made once the editor has closed, so that a message box never
    // opens while the editor is still handing over its text.
    m_model->setRenameHandler([this](FolderKey key, const QString& text) {
        QMetaObject::invokeMethod(
            this, [this, key, text] { finishRename(key, text); }, Qt::QueuedConnection);
    });
    registerCommands();
}

FolderTreeView::~FolderTreeView() = default;

void FolderTreeView::registerCommands()
{
    // In the tree, the trash's 開く and the select-all key do nothing.
    onCommand(CommandId::SelectAll, [] {});
    onCommand(CommandId::OpenTrash, [] {});

    onCommand(CommandId::OpenFolder, [this] { select(m_contextKey); });
    onCommand(CommandId::OpenComputer, [this] { select(m_contextKey); });
    onCommand(CommandId::RenameFolder, [this] { startRename(m_contextKey); });
    onCommand(CommandId::DeleteFolder, [this] { deleteFolder(m_contextKey); });
    onCommand(CommandId::PasteIntoFolder, [this] { m_document.pasteInto(m_contextKey); });
    onCommand(CommandId::ExportKa, [this] {
        exportFolderAsKa(this, m_document.library(), m_contextKey, m_document.prompter());
    });
    // The trash node's properties are the trash settings.
    onCommand(CommandId::FolderProperties, [this] {
        if (!m_frame)
            return;
        if (m_contextKey.collection == trashCollection)
            m_frame->openTrashProperties();
        else
            m_frame->openFolderProperties(m_contextKey, FolderPropertiesWindow::GeneralTab);
    });
    onCommand(CommandId::Share, [this] {
        if (m_frame)
            m_frame->openFolderProperties(m_contextKey, FolderPropertiesWindow::SharingTab);
    });
    onCommand(CommandId::Search, [this] {
        if (m_frame)
            m_frame->openSearch(m_contextKey);
    });
    onCommand(CommandId::ComputerProperties, [this] {
        if (m_frame)
            m_frame->openComputerProperties(m_contextKey);
    });
    onCommand(CommandId::Chat, [this] {
        if (m_frame)
            m_frame->openChat(m_contextKey);
    });
    onCommand(
        CommandId::CaptureStart,
        [this] {
            if (!m_frame)
                return;
            m_frame->app().setCaptureOn(true);
            select({ yahooCollection, 0 });
        },
        [this](CommandState& s) { s.enabled = m_frame && !m_frame->app().captureOn(); });

    // The edit commands act on the selected node, the pop-up's on the node it was opened for.
    onCommand(
        CommandId::EditCopy, [this] { copyOrCut(selectedFolder(), false); },
        [this](CommandState& s) { s.enabled = canCopy(selectedFolder()); });
    onCommand(
        CommandId::EditCut, [this] { copyOrCut(selectedFolder(), true); },
        [this](CommandState& s) { s.enabled = canCut(selectedFolder()); });
    onCommand(
        CommandId::CopyFolder, [this] { copyOrCut(m_contextKey, false); },
        [this](CommandState& s) { s.enabled = canCopy(m_contextKey); });
    onCommand(
        CommandId::CutFolder, [this] { copyOrCut(m_contextKey, true); },
        [this](CommandState& s) { s.enabled = canCut(m_contextKey); });
    onCommand(
        CommandId::EditPaste, [this] { m_document.pasteInto(selectedFolder()); },
        [this](CommandState& s) { s.enabled = canPaste(); });
}

void FolderTreeView::build()
{
    m_model->build();
    // Start where the user's own records are, with their folders in view.
    const FolderKey own { myRecordsCollection, 0 };
    expandFolder(own);
    select(own);
}

void FolderTreeView::insertFolder(FolderKey folder)
{
    m_model->insertFolder(folder);
}

void FolderTreeView::removeFolder(FolderKey folder)
{
    if (m_editing && m_editKey == folder)
        m_editing = false;
    m_model->removeFolder(folder);
}

void FolderTreeView::removeChildren(FolderKey folder)
{
    m_model->removeChildren(folder);
}

void FolderTreeView::renameFolder(FolderKey folder)
{
    m_model->renameFolder(folder);
}

void FolderTreeView::setShared(FolderKey folder, bool shared)
{
    m_model->setShared(folder, shared);
}

void FolderTreeView::expandFolder(FolderKey folder)
{
    const QModelIndex index = m_model->indexOf(folder);
    if (index.isValid())
        expand(index);
}

void FolderTreeView::select(FolderKey folder)
{
    const QModelIndex index = m_model->indexOf(folder);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index);
}

FolderKey FolderTreeView::selectedFolder() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? FolderKey {} : m_model->keyOf(selected.first());
}

void FolderTreeView::setCutFolder(FolderKey folder)
{
    m_model->setCutFolder(folder);
}

void FolderTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    emit folderSelected(m_model->keyOf(current));
}

bool FolderTreeView::canCut(FolderKey key)
{
    return key.valid() && key.folder != 0
        && (key.collection == myRecordsCollection || key.collection == yahooCollection);
}

bool FolderTreeView::canCopy(FolderKey key)
{
    return key.valid() && key.folder != 0 && key.collection == myRecordsCollection;
}

bool FolderTreeView::canPaste() const
{
    return selectedFolder().collection == myRecordsCollection
        && m_document.clipboard().holdsItemsOrText();
}

void FolderTreeView::copyOrCut(FolderKey key, bool cut)
{
    if (!(cut ? canCut(key) : canCopy(key)))
        return;
    InternalClipboard& clip = m_document.clipboard();
    clip.reset();
    clip.mode = cut ? InternalClipboard::cut : InternalClipboard::copy;
    clip.sourceCollection = key.collection;
    clip.sourceFolder = m_document.library().collection(key.collection).folder(key.folder).parent;
    clip.items = { folderItem(key.folder) };
    if (m_frame)
        m_frame->clearCutMarks();
    setCutFolder(cut ? key : FolderKey {});
}

void FolderTreeView::deleteFolder(FolderKey folder)
{
    if (!folder.valid() || folder.folder == 0 || folder.collection == networkCollection)
        return;
    m_document.operations().deleteFolder(folder.collection, folder.folder);
}

bool FolderTreeView::networkConnected() const
{
    const NetworkSession* session = m_frame ? m_frame->app().networkSession() : nullptr;
    return session && session->isConnected();
}

void FolderTreeView::startRename(FolderKey folder)
{
    const QModelIndex index = m_model->indexOf(folder);
    if (!index.isValid() || !(m_model->flags(index) & Qt::ItemIsEditable))
        return;
    setFocus(Qt::OtherFocusReason);
    scrollTo(index);
    edit(index);
}

bool FolderTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const FolderKey key = m_model->keyOf(index);
    // Roots and network folders keep their names: the model makes only the others editable.
    if (trigger != NoEditTriggers && !(m_model->flags(index) & Qt::ItemIsEditable))
        return false;
    if (trigger == SelectedClicked) {
        // The rename of a click waits here rather than in the base class, so that a double click,
        // a key or another press can cancel it for certain.
        m_renameKey = key;
        m_renameDelay.start(QApplication::doubleClickInterval(), this);
        return false;
    }
    if (trigger != NoEditTriggers)
        m_renameDelay.stop();
    const bool started = QTreeView::edit(index, trigger, event);
    if (trigger != NoEditTriggers && state() == EditingState) {
        m_editKey = key;
        m_editing = true;
    }
    return started;
}

void FolderTreeView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_renameDelay.timerId()) {
        QTreeView::timerEvent(event);
        return;
    }
    m_renameDelay.stop();
    if (selectedFolder() == m_renameKey)
        startRename(m_renameKey);
}

void FolderTreeView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click opens or closes the node; it never renames.
    m_renameDelay.stop();
    QTreeView::mouseDoubleClickEvent(event);
}

void FolderTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    m_editing = false;
    QTreeView::closeEditor(editor, hint);
}

void FolderTreeView::finishRename(FolderKey key, const QString& text)
{
    CollectionTree& collection = m_document.library().collection(key.collection);
    if (key.folder <= 0 || key.folder >= collection.folderCount()
        || !collection.folderIsLive(key.folder))
        return;
    const std::string name(fitName(toSjis(text)));
    if (name.empty() || name == collection.folder(key.folder).name)
        return;
    const int parent = collection.folder(key.folder).parent;
    if (parent < 0)
        return;
    if (!typedNameFits(text, m_document.prompter())) {
        startRename(key);
        return;
    }
    if (collection.nameTaken(parent, name)) {
        m_document.prompter().showError(texts::folderRenameErrorTitle, texts::folderNameTaken);
        startRename(key);
        return;
    }
    // A '\' or '/' would break the folder's path (sharing addresses folders by path): refused with
    // the library's message, like a name typed in the list.
    if (!m_document.operations().checkName(key.collection, parent, name, &m_document.prompter())) {
        startRename(key);
        return;
    }
    m_document.operations().renameFolder(key.collection, key.folder, name);
    if (selectedFolder() != key)
        select(key);
}

void FolderTreeView::mousePressEvent(QMouseEvent* event)
{
    m_renameDelay.stop();
    // A right click names the node for the context menu without selecting it, so that the list
    // keeps showing the selected folder.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const FolderKey key = m_model->keyOf(indexAt(event->position().toPoint()));
    if (key == FolderKey { networkCollection, 0 } && !networkConnected() && m_frame)
        m_frame->dispatch(CommandId::Connect, this);
}

void FolderTreeView::contextMenuEvent(QContextMenuEvent* event)
{
    openContextMenu(event->pos());
    event->accept();
}

void FolderTreeView::openContextMenu(const QPoint& viewportPos)
{
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid() || !m_frame)
        return;
    const FolderKey key = m_model->keyOf(index);
    m_contextKey = key;
    const CollectionTree& collection = m_document.library().collection(key.collection);

    std::unique_ptr<QMenu> menu;
    if (key.collection == trashCollection) {
        // ごみ箱を空にする is grayed by its own rule while the trash is empty.
        menu = m_frame->contextMenu(ContextMenu::Dustbox, this);
    } else if (key.collection == yahooCollection) {
        // 棋譜採り開始 and 棋譜採り終了 follow the capture flag by their rules.
        menu = m_frame->contextMenu(ContextMenu::Yahoo, this);
    } else if (key == FolderKey { networkCollection, 0 }) {
        menu = m_frame->contextMenu(ContextMenu::Network, this);
        MainWindow::grayItems(
            *menu, { networkConnected() ? CommandId::Connect : CommandId::Disconnect });
    } else if (key.collection == networkCollection && collection.depth(key.folder) == 1) {
        menu = m_frame->contextMenu(ContextMenu::NetPc, this);
    } else {
        menu = m_frame->contextMenu(ContextMenu::FolderTree, this);
        if (key.folder == 0 || key.collection == networkCollection)
            MainWindow::grayItems(
                *menu, { CommandId::RenameFolder, CommandId::Share, CommandId::DeleteFolder });
        if (!m_document.clipboard().holdsItemsOrText())
            MainWindow::grayItems(*menu, { CommandId::PasteIntoFolder });
    }
    m_frame->trackContextMenu(*menu, this, viewport()->mapToGlobal(viewportPos));
}

void FolderTreeView::keyPressEvent(QKeyEvent* event)
{
    m_renameDelay.stop();
    if (event->key() == Qt::Key_Control)
        setCtrlDown(true);
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier && !m_editing) {
        deleteFolder(selectedFolder());
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void FolderTreeView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Control)
        setCtrlDown(false);
    QTreeView::keyReleaseEvent(event);
}

void FolderTreeView::setCtrlDown(bool down)
{
    m_ctrlDown = down;
    // During a drag from the list the tree has the keyboard while a node is the target.
    if (m_frame && m_frame->recordListView() && m_frame->recordListView()->drag())
        m_frame->recordListView()->drag()->ctrlChanged(down);
}

void FolderTreeView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!FileImport::answerFileDrag(
            m_document, *event, fileDropTarget(event->position().toPoint())))
        QTreeView::dragEnterEvent(event);
}

void FolderTreeView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!FileImport::answerFileDrag(
            m_document, *event, fileDropTarget(event->position().toPoint())))
        QTreeView::dragMoveEvent(event);
}

void FolderTreeView::dropEvent(QDropEvent* event)
{
    const FolderKey target = fileDropTarget(event->position().toPoint());
    if (!FileImport::takeFileDrop(m_document, *event, target, m_frame))
        QTreeView::dropEvent(event);
}

FolderKey FolderTreeView::fileDropTarget(const QPoint& viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? m_model->keyOf(index) : selectedFolder();
}
