#pragma once

#include "library/folderkey.h"
#include "net/noticelistener.h"
#include "ui/commandrouter.h"
#include "ui/commandtarget.h"
#include "ui/menutables.h"
#include "ui/windowregistry.h"

#include <QBasicTimer>
#include <QMainWindow>
#include <QPointer>

#include <initializer_list>
#include <memory>
#include <vector>

class ChatController;
class ChatPane;
class FolderTreeView;
class RecordListView;
class LibraryAccess;
class NetworkSession;
class ProgramServices;
class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

// The main window: the folder tree on the left, the record list above the chat pane on the right,
// the toolbar, the status bar and the menu bar. Every command of its menus, buttons and keys
// goes through dispatch(): to the pane that has the focus (or owns the pop-up), then the document,
// this frame and the application. It holds the open modeless windows, and its own notice
// handlers answer after theirs. Its 50 ms timer drives the open windows and, every fourth tick,
// the network upkeep and the capture scan.
class MainWindow : public QMainWindow, public CommandTarget, public NoticeListener {
    Q_OBJECT
public:
    MainWindow(ProgramServices& app, LibraryAccess& document);
    ~MainWindow() override;

    FolderTreeView* folderTreeView() const { return m_folderTreeView; }
    RecordListView* recordListView() const { return m_recordListView; }
    ChatPane* chatPane() const { return m_chatPane; }
    QSplitter* outerSplitter() const { return m_outer; }
    QSplitter* innerSplitter() const { return m_inner; }
    QToolBar* toolBar() const { return m_toolBar; }
    LibraryAccess& document() const { return m_document; }
    ProgramServices& app() const { return m_app; }

    // The pane that had the focus last (the tree at first); commands go to it first.
    QWidget* activePane() const;
    // Moves the focus to the next pane (tree, list, chat, tree...) or the previous one.
    void activateNextPane(bool forward);

    // Runs a command as a menu item, a button or a key does: grayed commands do nothing. origin
    // is the view that owns a pop-up; without it the active pane goes first. Returns whether the
    // command ran.
    bool dispatch(CommandId id, CommandTarget* origin = nullptr);
    CommandState commandState(CommandId id, CommandTarget* origin = nullptr) const;
    // Brings the toolbar buttons up to date; menus do so themselves each time they open.
    void updateToolBar();

    // One pop-up of the context-menu table with its items enabled as the route from origin says.
    // The caller grays what its situation requires, then shows it with trackContextMenu.
    std::unique_ptr<QMenu> contextMenu(ContextMenu which, CommandTarget* origin);
    // Shows a pop-up at globalPos; the chosen item's command is dispatched with origin first.
    void trackContextMenu(QMenu& menu, CommandTarget* origin, const QPoint& globalPos);
    // Grays the pop-up's items of these commands, whatever their handlers say.
    static void grayItems(QMenu& menu, std::initializer_list<CommandId> ids);
    // Takes the cut mark off the tree's node and the list's rows.
    void clearCutMarks();
    // The one answer of every command whose window the program does not have yet.
    void showNotAvailable();

    // The settings group of the window's size, place and splitter positions.
    static constexpr const char* layoutGroup = "Window";

    // One tick of the 50 ms timer.
    void tick();

    // Offers the notice to every open modeless window, last opened first, then to the frame's own
    // handlers; returns how many took it.
    int32_t notify(const Notice& notice);
    // Puts the chat (the pane, the chat and peer windows) on the program's session, once it exists.
    void attachChat(NetworkSession& session);
    ChatController* chat() const { return m_chat.get(); }
    // The open modeless windows; new ones open through its find-or-create.
    WindowRegistry& windows() { return m_windows; }
    // Opens the trash properties window, or brings the open one forward.
    void openTrashProperties();
    // Opens the properties of a folder on a tab (0 全般, 1 共有), or brings the window already
    // showing them forward on that tab.
    void openFolderProperties(FolderKey folder, int tab);
    // The properties of a network computer: its user's properties window (the profile is asked
    // for again); the news collection's entry (its name holds a blank) shows the news properties.
    void openComputerProperties(FolderKey computer);
    // チャット on a network computer: the chat window with its user comes forward or opens.
    void openChat(FolderKey computer);
    // Opens the news properties window of the folder, or brings the open one forward.
    void openNewsProperties(FolderKey folder);
    // Opens a new search window; the folder the command was given for does not narrow it.
    void openSearch(FolderKey folder);
    // Opens a record of a collection in a viewer, or brings the viewer showing it forward.
    void openViewer(int collection, int record);
    // Opens a record of a collection in a new editor; no open window answers the edit query.
    void openEditor(int collection, int record);

signals:
    // Every 50 ms: the open modeless windows get their tick notice from here.
    void everyTick();
    // Every fourth tick (200 ms), just before that tick's everyTick: the connections' upkeep.
    void everyFourthTick();
    // On the same ticks as everyFourthTick while capture is on: one scan for table windows.
    void captureScanDue();
    // Capture was turned on or off.
    void captureSwitched(bool on);

protected:
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void createPanes();
    void restoreLayout();
    void saveLayout() const;
    void createMenuBar();
    void createToolBar();
    void createStatusBar();
    void createAccelerators();
    void registerCommands();
    void updateMenu(QMenu& menu, CommandTarget* origin);
    void paneFocusChanged(QWidget* now);
    CommandTarget* viewOf(QWidget* pane) const;
    void takeClipboardText();
    QAction* commandAction(CommandId id, const QString& text, QObject* parent);

    ProgramServices& m_app;
    LibraryAccess& m_document;
    CommandRouter m_router;
    QSplitter* m_outer = nullptr;
    QSplitter* m_inner = nullptr;
    FolderTreeView* m_folderTreeView = nullptr;
    RecordListView* m_recordListView = nullptr;
    ChatPane* m_chatPane = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_message = nullptr;
    std::vector<QAction*> m_toolActions;
    QPointer<QWidget> m_activePane;
    QBasicTimer m_timer;
    int m_tickCounter = 0;
    std::unique_ptr<ChatController> m_chat;
    WindowRegistry m_windows { static_cast<NoticeListener*>(this), this };
};
