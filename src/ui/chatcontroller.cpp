#include "ui/chatcontroller.h"

#include "library/recordlibrary.h"
#include "net/chattext.h"
#include "net/commanddispatcher.h"
#include "net/networksession.h"
#include "net/notices.h"
#include "net/outgoingmessages.h"
#include "text/texts.h"
#include "ui/chatpane.h"
#include "ui/chatwindow.h"
#include "ui/peerpropertiesdialog.h"
#include "ui/windowregistry.h"

#include <chrono>

namespace {

// At most this many private messages wait for the server's answer; the oldest is forgotten
// beyond it (a server that never answers must not make the list grow without end).
constexpr size_t maxPendingTells = 256;

} // namespace

ChatController::ChatController(NetworkSession& session, ChatPane& pane, WindowRegistry& windows,
    MainWindow* gateway, Services services)
    : m_session(session)
    , m_pane(pane)
    , m_windows(windows)
    , m_gateway(gateway)
    , m_services(std::move(services))
{
    registerHandlers();
    connect(&m_pane, &ChatPane::broadcastRequested, this, &ChatController::broadcast);
}

// The session may already be gone: its handlers only check that this object still is.
ChatController::~ChatController() = default;

void ChatController::handle(int32_t id, std::function<void(const StringList&)> handler)
{
    m_session.dispatcher().setHandler(id,
        [alive = std::weak_ptr<bool>(m_alive), handler = std::move(handler)](
            const StringList& message) {
            if (!alive.expired())
                handler(message);
        });
}

void ChatController::registerHandlers()
{
    handle(IdBcast, [this](const StringList& message) {
        const BcastNotice notice = BcastNotice::fromMessage(message);
        m_windows.notify(notice);
        m_pane.append(chatMessageText(notice.sender.view(), notice.lines));
    });
    handle(IdBcastNg, [this](const StringList& message) {
        m_windows.notify(BcastNgNotice::fromMessage(message));
        showNotSent({});
    });
    handle(
        IdTell, [this](const StringList& message) { received(TellNotice::fromMessage(message)); });
    handle(IdTellOk, [this](const StringList& message) {
        takePendingTell();
        m_windows.notify(TellOkNotice::fromMessage(message));
    });
    handle(IdTellNg, [this](const StringList& message) {
        const std::string peer = takePendingTell();
        m_windows.notify(TellNgNotice::fromMessage(message));
        showNotSent(peer);
    });
    handle(IdPing, [this](const StringList& message) {
        const PingNotice notice = PingNotice::fromMessage(message);
        m_windows.notify(notice);
        sendMain(pongMessage(notice.items));
    });
    handle(IdPong,
        [this](const StringList& message) { m_windows.notify(PongNotice::fromMessage(message)); });
    handle(IdProfile, [this](const StringList& message) {
        m_windows.notify(ProfileNotice::fromMessage(message));
    });
}

void ChatController::broadcast(const std::string& text)
{
    sendMain(bcastMessage(text));
    m_pane.append(chatLineText(ownUser(), text));
}

void ChatController::received(const TellNotice& notice)
{
    if (m_windows.notify(notice) > 0)
        return;
    // No window talks with the sender yet: one opens with the message in it. Its own sound box
    // starts cleared, so only the "chatbell" setting rings.
    ChatWindow* window = newChatWindow(notice.sender.view());
    if (!window)
        return;
    window->onTell(notice, 0);
    if (m_services.chatBell && m_services.chatBell())
        playMessageSound();
}

ChatWindow* ChatController::openChat(std::string_view user)
{
    WindowNotice query(WindowChat);
    query.text = ByteString(user);
    if (m_windows.notify(query) > 0)
        return chatWindow(user);
    return newChatWindow(user);
}

ChatWindow* ChatController::newChatWindow(std::string_view user)
{
    auto* window = static_cast<ChatWindow*>(m_windows.createRegistered(
        std::make_unique<ChatWindow>(*this, std::string(user)), m_gateway));
    if (!window)
        return nullptr;
    window->placeOnOpen(nullptr);
    window->show();
    // Above every other window, without staying there.
    window->raise();
    window->activateWindow();
    return window;
}

ChatWindow* ChatController::chatWindow(std::string_view user) const
{
    for (int32_t i = 0; i < m_windows.count(); ++i) {
        auto* window = dynamic_cast<ChatWindow*>(m_windows.at(i));
        if (window && window->peer() == user)
            return window;
    }
    return nullptr;
}

ChatWindow* ChatController::openChat(const RecordLibrary& library, FolderKey computer)
{
    const RecordFolder* folder = computerFolder(library, computer);
    return folder ? openChat(folder->name) : nullptr;
}

const RecordFolder* ChatController::computerFolder(const RecordLibrary& library, FolderKey folder)
{
    if (folder.collection != networkCollection)
        return nullptr;
    const CollectionTree& network = library.collection(networkCollection);
    if (folder.folder <= 0 || folder.folder >= network.folderCount()
        || !network.folderIsLive(folder.folder))
        return nullptr;
    const RecordFolder& computer = network.folder(folder.folder);
    // The news folder's name holds a space, which no user name does; it is no computer.
    if (computer.parent != 0 || computer.name.find(' ') != std::string::npos)
        return nullptr;
    return &computer;
}

void ChatController::openProperties(const RecordLibrary& library, FolderKey folder)
{
    const RecordFolder* computer = computerFolder(library, folder);
    if (!computer)
        return;
    PeerDetails details;
    details.folder = folder;
    const CollectionTree& network = library.collection(networkCollection);
    for (int above = computer->parent; above >= 0; above = network.folder(above).parent)
        details.ancestors.push_back(above);
    details.user = computer->name;
    details.comment = computer->shareComment;
    details.loginTime = computer->created;
    m_windows.findOrCreate(
        WindowNotice(WindowPeerProperties, folder.packed()),
        [this, &details] { return std::make_unique<PeerPropertiesDialog>(*this, details); },
        m_gateway);
    // Whether the window is new or came forward, its idle time is asked for again.
    sendMain(profileMessage(details.user));
}

const std::string& ChatController::ownUser() const
{
    return m_session.user();
}

void ChatController::sendMain(const StringList& message)
{
    m_session.sendMain(message);
}

void ChatController::sendTell(std::string_view peer, std::string_view text)
{
    const ServerConnection* connection = m_session.mainConnection();
    if (!connection)
        return;
    // Answers come on the connection the message went out on; a new one starts a new list.
    if (connection != m_pendingOn) {
        m_pendingTells.clear();
        m_pendingOn = connection;
    }
    if (m_pendingTells.size() >= maxPendingTells)
        m_pendingTells.pop_front();
    m_pendingTells.emplace_back(peer);
    sendMain(tellMessage(peer, text));
}

std::string ChatController::takePendingTell()
{
    if (m_pendingTells.empty() || m_session.mainConnection() != m_pendingOn)
        return {};
    std::string peer = std::move(m_pendingTells.front());
    m_pendingTells.pop_front();
    return peer;
}

void ChatController::showNotSent(std::string_view peer)
{
    if (ChatWindow* window = peer.empty() ? nullptr : chatWindow(peer))
        window->append(texts::chatNotSent.bytes());
    else
        m_pane.append(texts::chatNotSent.bytes());
}

uint32_t ChatController::tickCount() const
{
    if (m_services.tickCount)
        return m_services.tickCount();
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void ChatController::playMessageSound()
{
    if (m_services.playMessageSound)
        m_services.playMessageSound();
}
