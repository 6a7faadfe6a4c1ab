#include "ui/mainwindow.h"

#include "library/folderkey.h"
#include "library/libraryoperations.h"
#include "library/libraryprompter.h"
#include "library/programversion.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "net/notices.h"
#include "platform/clipboardtext.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/capturecontroller.h"
#include "ui/capturesettingsdialog.h"
#include "ui/chatcontroller.h"
#include "ui/chatpane.h"
#include "ui/folderpropertieswindow.h"
#include "ui/foldertreeview.h"
#include "ui/internalclipboard.h"
#include "ui/libraryaccess.h"
#include "ui/newspropertieswindow.h"
#include "ui/programservices.h"
#include "ui/recordlistmodel.h"
#include "ui/recordlistview.h"
#include "ui/toolbarimages.h"
#include "ui/trashpropertiesdialog.h"
#include "viewer/recordeditor.h"
#include "viewer/recordviewer.h"
#include "viewer/searchwindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimerEvent>
#include <QToolBar>

#include <algorithm>
#include <array>

namespace {

QString text(const FixedText& t)
{
    return fromSjis(t.bytes());
}

// The fly-by help shown in the status bar while a menu item or button is under the mouse.
const FixedText* statusHelp(CommandId id)
{
    switch (id) {
    case CommandId::Save:
        return &texts::helpSave;
    case CommandId::CaptureStart:
        return &texts::helpCaptureStart;
    case CommandId::CaptureStop:
        return &texts::helpCaptureStop;
    default:
        return nullptr;
    }
}

struct ToolButtonDef {
    CommandId command; // None: a separator
    const FixedText* tip;
    int image;
};

constexpr std::array<ToolButtonDef, 8> toolButtons { {
    { CommandId::Save, &texts::toolSave, 0 },
    { CommandId::None, nullptr, -1 },
    { CommandId::EditCut, &texts::toolCut, 1 },
    { CommandId::EditCopy, &texts::toolCopy, 2 },
    { CommandId::EditPaste, &texts::toolPaste, 3 },
    { CommandId::None, nullptr, -1 },
    { CommandId::CaptureStart, &texts::toolCaptureStart, 4 },
    { CommandId::CaptureStop, &texts::toolCaptureStop, 5 },
} };

// The commands whose windows or library operations are not part of the program yet. Each of
// them lands in the frame's one "not available yet" handler; a view that learns to handle one
// takes it over, since the view comes first on the route.
constexpr std::array notAvailableCommands {
    CommandId::EditCut,
    CommandId::EditCopy,
    CommandId::EditPaste,
    CommandId::Search,
    CommandId::Share,
    CommandId::FolderProperties,
    CommandId::ComputerProperties,
    CommandId::Chat,
};

} // namespace

MainWindow::MainWindow(ProgramServices& app, LibraryAccess& document)
    : m_app(app)
    , m_document(document)
{
    setObjectName(QStringLiteral("MainWindow"));
    createMenuBar();
    createToolBar();
    createStatusBar();
    createPanes();
    createAccelerators();
    registerCommands();
    m_router.setTail({ &m_document, this, &m_app });

    connect(qApp, &QApplication::focusChanged, this,
        [this](QWidget*, QWidget* now) { paneFocusChanged(now); });
    connect(this, &MainWindow::everyTick, this, [this] { notify(TickNotice()); });
    // A child of the frame: it scans on captureScanDue and goes with the frame.
    new CaptureController(*this);

    m_timer.start(50, this);
    // The title shows the same version whatever the version file says, and never a document name.
    setWindowTitle(fromSjis(programTitleText()));
    updateToolBar();
    restoreLayout();
}

MainWindow::~MainWindow()
{
    saveLayout();
    m_timer.stop();
    // The panes lose the focus while the base class takes them down; by then this is no longer a
    // frame that could follow it.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    // The windows go while the frame, their gateway, is still whole.
    m_windows.destroyAll();
    m_document.detachViews();
}

void MainWindow::createPanes()
{
    m_outer = new QSplitter(Qt::Horizontal, this);
    m_outer->setObjectName(QStringLiteral("outerSplitter"));
    m_inner = new QSplitter(Qt::Vertical);
    m_inner->setObjectName(QStringLiteral("innerSplitter"));
    m_recordListView = new RecordListView(m_document, m_app.imageList(), this);
    m_chatPane = new ChatPane;
    m_folderTreeView = new FolderTreeView(m_document, m_app.imageList(), this);
    m_inner->addWidget(m_recordListView);
    m_inner->addWidget(m_chatPane);
    m_outer->addWidget(m_folderTreeView);
    m_outer->addWidget(m_inner);
    m_inner->setMinimumWidth(10);
    // The panes are fixed; only the bars between them move, and no pane folds away entirely.
    m_outer->setChildrenCollapsible(false);
    m_inner->setChildrenCollapsible(false);
    // Growing the window widens the right column and heightens the chat pane.
    m_outer->setStretchFactor(0, 0);
    m_outer->setStretchFactor(1, 1);
    m_inner->setStretchFactor(0, 0);
    m_inner->setStretchFactor(1, 1);
    m_outer->setSizes({ 200, 600 });
    m_inner->setSizes({ 220, 420 });
    setCentralWidget(m_outer);

    connect(m_chatPane, &ChatPane::commandRequested, this,
        [this](CommandId id) { dispatch(id, m_chatPane); });
    connect(m_folderTreeView, &FolderTreeView::folderSelected, m_recordListView,
        &RecordListView::showFolder);
    m_document.attachViews(*m_folderTreeView, *m_recordListView, *this);

    const int chrome = menuBar()->sizeHint().height() + m_toolBar->sizeHint().height()
        + statusBar()->sizeHint().height();
    resize(200 + m_outer->handleWidth() + 600, 220 + m_inner->handleWidth() + 420 + chrome);
    m_activePane = m_folderTreeView;
    m_folderTreeView->setFocus(Qt::OtherFocusReason);
}

// The window's place and size and the splitters' positions are kept in a group of their own, so
// that the "Settings" group holds exactly the program's settings.
void MainWindow::restoreLayout()
{
    QSettings stored;
    stored.beginGroup(QString::fromLatin1(layoutGroup));
    restoreGeometry(stored.value(QStringLiteral("geometry")).toByteArray());
    m_outer->restoreState(stored.value(QStringLiteral("outerSplitter")).toByteArray());
    m_inner->restoreState(stored.value(QStringLiteral("innerSplitter")).toByteArray());
}

void MainWindow::saveLayout() const
{
    QSettings stored;
    stored.beginGroup(QString::fromLatin1(layoutGroup));
    stored.setValue(QStringLiteral("geometry"), saveGeometry());
    stored.setValue(QStringLiteral("outerSplitter"), m_outer->saveState());
    stored.setValue(QStringLiteral("innerSplitter"), m_inner->saveState());
}

QAction* MainWindow::commandAction(CommandId id, const QString& label, QObject* parent)
{
    auto* action = new QAction(label, parent);
    action->setData(static_cast<int>(id));
    if (const FixedText* help = statusHelp(id))
        action->setStatusTip(text(*help));
    return action;
}

void MainWindow::createMenuBar()
{
    for (const MenuDef& def : menuBarTable()) {
        QMenu* menu = menuBar()->addMenu(text(*def.title));
        for (const MenuItemDef& item : def.items) {
            if (!item.label) {
                menu->addSeparator();
                continue;
            }
            QAction* action = commandAction(item.command, text(*item.label), menu);
            const CommandId id = item.command;
            connect(action, &QAction::triggered, this, [this, id] { dispatch(id); });
            menu->addAction(action);
        }
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { updateMenu(*menu, nullptr); });
    }
}

void MainWindow::createToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(toolbarimages::width, toolbarimages::height));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    for (const ToolButtonDef& def : toolButtons) {
        if (def.command == CommandId::None) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = commandAction(def.command, text(*def.tip), m_toolBar);
        action->setIcon(QIcon(toolbarimages::image(def.image)));
        action->setToolTip(text(*def.tip));
        const CommandId id = def.command;
        connect(action, &QAction::triggered, this, [this, id] { dispatch(id); });
        m_toolBar->addAction(action);
        m_toolActions.push_back(action);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void MainWindow::createStatusBar()
{
    QStatusBar* bar = statusBar();
    m_message = new QLabel(text(texts::statusReady));
    m_message->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(m_message, 1);
    // The key indicators keep their places; the program does not read the lock keys' states, so
    // their texts stay grayed.
    for (const FixedText* indicator : { &texts::indicatorKana, &texts::indicatorCaps,
             &texts::indicatorNum, &texts::indicatorScroll }) {
        auto* pane = new QLabel(text(*indicator));
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(pane->text()) + 8);
        pane->setEnabled(false);
        bar->addPermanentWidget(pane);
    }
}

void MainWindow::createAccelerators()
{
    for (const AcceleratorDef& def : acceleratorTable()) {
        auto* action = new QAction(this);
        action->setShortcut(def.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setData(static_cast<int>(def.command));
        const CommandId id = def.command;
        connect(action, &QAction::triggered, this, [this, id] { dispatch(id); });
        addAction(action);
    }
}

void MainWindow::registerCommands()
{
    onCommand(CommandId::AppExit, [this] { close(); });
    onCommand(
        CommandId::ViewToolbar, [this] { m_toolBar->setVisible(!m_toolBar->isVisible()); },
        [this](CommandState& s) { s.checked = !m_toolBar->isHidden(); });
    onCommand(
        CommandId::ViewStatusBar, [this] { statusBar()->setVisible(!statusBar()->isVisible()); },
        [this](CommandState& s) { s.checked = !statusBar()->isHidden(); });
    onCommand(
        CommandId::CaptureStart, [this] { m_app.setCaptureOn(true); },
        [this](CommandState& s) { s.enabled = !m_app.captureOn(); });
    onCommand(
        CommandId::CaptureStop, [this] { m_app.setCaptureOn(false); },
        [this](CommandState& s) { s.enabled = m_app.captureOn(); });
    onCommand(CommandId::TrashSettings, [this] { openTrashProperties(); });
    onCommand(CommandId::CaptureSettings, [this] {
        m_windows.findOrCreate(
            WindowNotice(WindowCaptureSettings),
            [this] { return std::make_unique<CaptureSettingsDialog>(m_document.settings()); },
            this);
    });
    onCommand(CommandId::NextPane, [this] { activateNextPane(true); });
    onCommand(CommandId::PreviousPane, [this] { activateNextPane(false); });
    for (CommandId id : notAvailableCommands)
        onCommand(id, [this] { showNotAvailable(); });
}

void MainWindow::clearCutMarks()
{
    m_folderTreeView->setCutFolder({});
    m_recordListView->listModel().setCutItems({});
}

void MainWindow::showNotAvailable()
{
    QMessageBox::information(this, text(texts::notAvailableTitle), text(texts::notAvailableYet));
}

void MainWindow::attachChat(NetworkSession& session)
{
    m_chat = std::make_unique<ChatController>(session, *m_chatPane, m_windows, this,
        ChatController::Services { [this] { return m_document.settings().chatbell != 0; },
            [this] { m_app.playMessageArrived(); }, {} });
}

void MainWindow::openChat(FolderKey computer)
{
    if (m_chat)
        m_chat->openChat(m_document.library(), computer);
    else
        showNotAvailable();
}

int32_t MainWindow::notify(const Notice& notice)
{
    return m_windows.notify(notice);
}

void MainWindow::openTrashProperties()
{
    m_windows.findOrCreate(
        WindowNotice(WindowTrashSettings),
        [this] { return std::make_unique<TrashPropertiesDialog>(m_document.settings()); }, this);
}

void MainWindow::openFolderProperties(FolderKey folder, int tab)
{
    if (!folder.valid())
        return;
    m_windows.findOrCreate(
        WindowNotice(WindowFolderProperties, folder.packed(), static_cast<uint32_t>(tab)),
        [this, folder, tab] {
            return std::make_unique<FolderPropertiesWindow>(
                m_document.library(), m_document.operations(), m_document.prompter(), folder, tab);
        },
        this);
}

void MainWindow::openComputerProperties(FolderKey computer)
{
    if (!computer.valid() || computer.collection != networkCollection)
        return;
    const CollectionTree& network = m_document.library().collection(networkCollection);
    if (computer.folder >= network.folderCount())
        return;
    if (network.folder(computer.folder).name.find(' ') != std::string::npos)
        openNewsProperties(computer);
    else if (m_chat)
        m_chat->openProperties(m_document.library(), computer);
    else
        showNotAvailable();
}

void MainWindow::openNewsProperties(FolderKey folder)
{
    m_windows.findOrCreate(
        WindowNotice(WindowPeerProperties, folder.packed()),
        [this, folder] {
            return std::make_unique<NewsPropertiesWindow>(m_document.library(), folder);
        },
        this);
}

void MainWindow::openSearch(FolderKey folder)
{
    // No window answers the search query, so every search opens a new window.
    m_windows.findOrCreate(
        WindowNotice(WindowSearch, folder.packed()),
        [this] { return std::make_unique<SearchWindow>(m_document.library(), m_app.imageList()); },
        this);
}

void MainWindow::openViewer(int collection, int record)
{
    m_windows.findOrCreate(
        WindowNotice(WindowViewRecord, RecordViewer::recordKey(collection, record)),
        [this, collection, record] {
            return std::make_unique<RecordViewer>(m_document.library(), collection, record);
        },
        this);
}

void MainWindow::openEditor(int collection, int record)
{
    m_windows.findOrCreate(
        WindowNotice(WindowEditRecord, libraryNoticeKey(collection, record)),
        [this, collection, record] {
            return std::make_unique<RecordEditor>(
                m_document.library(), m_document.operations(), collection, record);
        },
        this);
}

QWidget* MainWindow::activePane() const
{
    return m_activePane ? m_activePane.data() : m_folderTreeView;
}

CommandTarget* MainWindow::viewOf(QWidget* pane) const
{
    if (pane == m_folderTreeView)
        return m_folderTreeView;
    if (pane == m_recordListView)
        return m_recordListView;
    if (pane == m_chatPane)
        return m_chatPane;
    return nullptr;
}

void MainWindow::paneFocusChanged(QWidget* now)
{
    for (QWidget* w = now; w && w != this; w = w->parentWidget()) {
        if (viewOf(w)) {
            if (m_activePane != w) {
                m_activePane = w;
                updateToolBar();
            }
            return;
        }
    }
}

void MainWindow::activateNextPane(bool forward)
{
    const std::array<QWidget*, 3> panes { m_folderTreeView, m_recordListView, m_chatPane };
    size_t index = 0;
    while (index < panes.size() && panes[index] != activePane())
        ++index;
    if (index == panes.size())
        index = 0;
    const size_t next
        = forward ? (index + 1) % panes.size() : (index + panes.size() - 1) % panes.size();
    m_activePane = panes[next];
    panes[next]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    updateToolBar();
}

bool MainWindow::dispatch(CommandId id, CommandTarget* origin)
{
    const bool ran = m_router.run(id, origin ? origin : viewOf(activePane()));
    updateToolBar();
    return ran;
}

CommandState MainWindow::commandState(CommandId id, CommandTarget* origin) const
{
    return m_router.state(id, origin ? origin : viewOf(activePane()));
}

void MainWindow::updateMenu(QMenu& menu, CommandTarget* origin)
{
    for (QAction* action : menu.actions()) {
        if (action->isSeparator() || !action->data().isValid())
            continue;
        const CommandState state
            = commandState(static_cast<CommandId>(action->data().toInt()), origin);
        action->setEnabled(state.enabled);
        // Only a checked item shows a mark; an unchecked one looks like any other item.
        action->setCheckable(state.checked);
        action->setChecked(state.checked);
    }
}

void MainWindow::updateToolBar()
{
    for (QAction* action : m_toolActions) {
        const CommandState state = commandState(static_cast<CommandId>(action->data().toInt()));
        action->setEnabled(state.enabled);
    }
}

void MainWindow::grayItems(QMenu& menu, std::initializer_list<CommandId> ids)
{
    for (QAction* action : menu.actions()) {
        if (!action->data().isValid())
            continue;
        const auto id = static_cast<CommandId>(action->data().toInt());
        if (std::find(ids.begin(), ids.end(), id) != ids.end())
            action->setEnabled(false);
    }
}

std::unique_ptr<QMenu> MainWindow::contextMenu(ContextMenu which, CommandTarget* origin)
{
    auto menu = std::make_unique<QMenu>(this);
    const MenuDef& def = contextMenuTable().at(static_cast<size_t>(which));
    for (const MenuItemDef& item : def.items) {
        if (!item.label)
            menu->addSeparator();
        else
            menu->addAction(commandAction(item.command, text(*item.label), menu.get()));
    }
    updateMenu(*menu, origin);
    return menu;
}

void MainWindow::trackContextMenu(QMenu& menu, CommandTarget* origin, const QPoint& globalPos)
{
    QAction* chosen = menu.exec(globalPos);
    if (chosen && chosen->data().isValid())
        dispatch(static_cast<CommandId>(chosen->data().toInt()), origin);
}

void MainWindow::tick()
{
    if (m_tickCounter == 0) {
        updateToolBar();
        emit everyFourthTick();
        if (m_app.captureOn())
            emit captureScanDue();
    }
    emit everyTick();
    m_tickCounter = (m_tickCounter + 1) % 4;
}

void MainWindow::takeClipboardText()
{
    // Text that another program put on the clipboard (a list of moves, say) becomes what 貼り付け
    // imports; the program's own items are forgotten then.
    const std::string text = clipboardtext::get();
    InternalClipboard& clip = m_document.clipboard();
    if (text.empty() || text == clip.text)
        return;
    clip.reset();
    clip.text = text;
    clearCutMarks();
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        takeClipboardText();
    if (event->type() == QEvent::StatusTip) {
        // An item without help text brings back the idle message.
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        m_message->setText(tip.isEmpty() ? text(texts::statusReady) : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void MainWindow::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer.timerId())
        tick();
    else
        QMainWindow::timerEvent(event);
}
