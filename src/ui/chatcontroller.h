#pragma once

#include "library/folderkey.h"
#include "ui/chatlink.h"

#include <QObject>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class ChatPane;
class ChatWindow;
class MainWindow;
class NetworkSession;
class PeerPropertiesDialog;
class RecordLibrary;
struct RecordFolder;
class ServerConnection;
class WindowRegistry;
struct TellNotice;

// The chat of the program: the broadcast pane, the private chat windows and the peer properties
// windows, over the session's main connection.
//
// It takes over the session's handlers of BCAST, BCASTNG, PING, PONG, PROFILE, TELL, TELLNG and
// TELLOK (so make it after routeNotices); they do nothing once the controller is gone, whichever
// of the two goes first. Each message becomes its notice, goes to the open
// windows, and then gets the frame's own answer:
// - BCAST shows in the pane;
// - TELL that no chat window took opens one for the sender, with the message sound when the
//   "chatbell" setting is on;
// - PING is answered with PONG carrying its three items back;
// - BCASTNG and TELLNG (the server refused a message: sent too fast, too long, or to a user who is
//   gone) show "*** メッセージを送信できませんでした。" in the pane, or for a refused TELL in the
//   chat window with its addressee when one is open, so that a refused message does not look sent.
// The server does not echo a broadcast to its sender: the pane shows the user's own line when it
// goes out.
class ChatController : public QObject, public ChatLink {
    Q_OBJECT
public:
    struct Services {
        // The "chatbell" setting: a sound when a message opens a new chat window.
        std::function<bool()> chatBell;
        std::function<void()> playMessageSound;
        // The millisecond tick counter; the steady clock's milliseconds when not given.
        std::function<uint32_t()> tickCount;
    };

    // windows: the frame's registry, where the chat and properties windows open; gateway: the
    // frame they belong to (may be null).
    ChatController(NetworkSession& session, ChatPane& pane, WindowRegistry& windows,
        MainWindow* gateway, Services services);
    ~ChatController() override;

    // チャット on a network computer: the chat window with the user comes forward, or opens at the
    // top left of the screen.
    ChatWindow* openChat(std::string_view user);
    // The same for the user of a network computer's folder; nothing for any other folder.
    ChatWindow* openChat(const RecordLibrary& library, FolderKey computer);
    // プロパティ on a network computer: its properties window comes forward or opens, and the
    // user's profile is asked for. Nothing opens for the news folder or a folder that is not a
    // computer of the network collection.
    void openProperties(const RecordLibrary& library, FolderKey folder);

    // The open chat window with the user, or null.
    ChatWindow* chatWindow(std::string_view user) const;

    const std::string& ownUser() const override;
    void sendMain(const StringList& message) override;
    void sendTell(std::string_view peer, std::string_view text) override;
    uint32_t tickCount() const override;
    void playMessageSound() override;

private:
    // The folder of a user's computer: a live folder right below the network collection's root,
    // other than the news folder. Null for any other folder.
    static const RecordFolder* computerFolder(const RecordLibrary& library, FolderKey folder);
    void registerHandlers();
    void handle(int32_t id, std::function<void(const StringList&)> handler);
    void broadcast(const std::string& text);
    void received(const TellNotice& notice);
    ChatWindow* newChatWindow(std::string_view user);
    // The addressee of the oldest private message the server has not answered yet, taken off the
    // list; empty when none is known.
    std::string takePendingTell();
    void showNotSent(std::string_view peer);

    NetworkSession& m_session;
    ChatPane& m_pane;
    WindowRegistry& m_windows;
    MainWindow* m_gateway;
    Services m_services;
    // The server answers every TELL with TELLOK or TELLNG, in order: the addressees of those sent
    // on the current main connection and not answered yet.
    std::deque<std::string> m_pendingTells;
    const ServerConnection* m_pendingOn = nullptr;
    // Watched by the handlers left in the session's dispatcher.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
