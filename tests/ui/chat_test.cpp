// The chat pane, the chat windows and the peer properties windows over a session whose main
// connection is a scripted socket.
#include "../net/fakesocketport.h"

#include "library/recordlibrary.h"
#include "net/networksession.h"
#include "net/noticerouting.h"
#include "net/notices.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/chatcontroller.h"
#include "ui/chatpane.h"
#include "ui/chatwindow.h"
#include "ui/peerpropertiesdialog.h"
#include "ui/windowregistry.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString lastLine(const QPlainTextEdit& edit)
{
    QStringList lines = edit.toPlainText().split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.pop_back();
    return lines.isEmpty() ? QString() : lines.back();
}

TEST(ChatPane, DropsTheOldestSixtyLinesOncePastThreeHundred)
{
    ChatPane pane;
    struct Step {
        int appendLines; // "L<n>" lines, numbered on from the last step
        int blocks; // the transcript's line count afterwards (with the empty last line)
        const char* first; // its first line afterwards
    };
    const Step steps[] = {
        { 1, 2, "L0" },
        { 298, 300, "L0" }, // 299 lines and the empty one: not past the limit
        { 1, 241, "L60" }, // 301: the oldest 60 go
        { 59, 300, "L60" }, // counting goes on from what is left
        { 1, 241, "L120" },
    };
    int next = 0;
    for (const Step& s : steps) {
        for (int i = 0; i < s.appendLines; ++i)
            pane.append("L" + std::to_string(next++) + "\r\n");
        EXPECT_EQ(pane.transcript()->document()->blockCount(), s.blocks) << next;
        EXPECT_EQ(pane.transcript()->document()->firstBlock().text(), QString::fromLatin1(s.first));
        EXPECT_EQ(lastLine(*pane.transcript()), QStringLiteral("L%1").arg(next - 1));
    }
    // A message of several lines is counted line by line.
    pane.append(std::string(80, 'x') + "\r\n" + std::string(5, ' ') + "y\r\n");
    EXPECT_EQ(pane.transcript()->document()->blockCount(), 243);
    EXPECT_EQ(pane.transcript()->textCursor().position(),
        pane.transcript()->document()->characterCount() - 1); // the caret stays at the end
}

TEST(ChatPane, OfflineAndOnlineStates)
{
    ChatPane pane;
    // Starts offline; online makes both edits writable (the transcript too).
    EXPECT_TRUE(pane.isOffline());
    for (bool offline : { true, false, true }) {
        pane.setOffline(offline);
        EXPECT_EQ(pane.transcript()->isReadOnly(), offline);
        EXPECT_EQ(pane.input()->isReadOnly(), offline);
        EXPECT_EQ(pane.sendButton()->isEnabled(), !offline);
        EXPECT_EQ(pane.connectButton()->isHidden(), !offline);
    }
}

TEST(ChatPane, EnterSendsTheTrimmedInputEvenWhileSendIsDisabled)
{
    ChatPane pane;
    QSignalSpy sent(&pane, &ChatPane::broadcastRequested);
    struct Case {
        bool offline;
        QString typed;
        const char* broadcast; // null: nothing is sent
    };
    const Case cases[] = {
        { false, u("  hello \t"), "hello" },
        { true, u("hi"), "hi" }, // 送信 is disabled offline; Enter still sends
        { false, u(" \t "), nullptr }, // the input is emptied all the same
        { false, u("\u3000x\u3000"), "\x81\x40x\x81\x40" }, // full-width spaces are text
    };
    for (const Case& c : cases) {
        pane.setOffline(c.offline);
        pane.input()->setText(c.typed);
        sent.clear();
        QTest::keyClick(pane.input(), Qt::Key_Return);
        EXPECT_TRUE(pane.input()->text().isEmpty());
        ASSERT_EQ(sent.count(), c.broadcast ? 1 : 0) << c.typed.toStdString();
        if (c.broadcast) {
            EXPECT_EQ(sent.at(0).at(0).value<std::string>(), c.broadcast);
        }
    }
    // 送信 does the same while enabled.
    pane.setOffline(false);
    pane.input()->setText(u("a b"));
    sent.clear();
    pane.sendButton()->click();
    ASSERT_EQ(sent.count(), 1);
}

// A logged-in session over a scripted socket, with the chat on it.
class ChatTest : public testing::Test, public NetworkSessionHost {
public:
    ChatTest()
        : session(
            { "host", 9292, 9293 },
            [this] {
                socket = std::make_shared<FakeSocketState>();
                return std::make_unique<FakeSocketPort>(socket);
            },
            [this] { return now; }, *this)
    {
        routeNotices(session.dispatcher(), [this](const Notice& n) { return notify(n); });
        chat = std::make_unique<ChatController>(session, pane, windows, nullptr,
            ChatController::Services {
                [this] { return bell; }, [this] { ++sounds; }, [this] { return now; } });
        session.connectMain("me", "pw");
        socket->handler->connectCompleted(0);
        settle();
        session.networkTick();
        socket->sent.clear();
        pane.setOffline(false);
    }

    int32_t notify(const Notice& notice) override { return windows.notify(notice); }
    void mainDisconnected() override
    {
        pane.setOffline(true);
        windows.notify(WindowNotice(WindowFolderRemoved, libraryNoticeKey(networkCollection, 0)));
    }
    void versionChecked(int32_t, std::optional<int32_t>) override { }

    // Delivers framed messages from the server and lets every resulting event and close request
    // run.
    void arrive(const std::string& bytes)
    {
        socket->arrive(bytes);
        settle();
    }
    void settle()
    {
        while (session.processNextEvent()) { }
        QCoreApplication::sendPostedEvents();
        windows.processCloseRequests();
    }
    // What went out on the main connection since the last call.
    std::string sent()
    {
        session.networkTick();
        return std::exchange(socket->sent, {});
    }
    template <typename Window> std::vector<Window*> open() const
    {
        std::vector<Window*> found;
        for (int32_t i = 0; i < windows.count(); ++i) {
            if (auto* w = dynamic_cast<Window*>(windows.at(i)))
                found.push_back(w);
        }
        return found;
    }

    uint32_t now = 50000;
    bool bell = true;
    int sounds = 0;
    std::shared_ptr<FakeSocketState> socket;
    ChatPane pane;
    WindowRegistry windows { nullptr, nullptr };
    NetworkSession session;
    std::unique_ptr<ChatController> chat;
};

TEST_F(ChatTest, BroadcastsShowInThePaneAndTheOwnLineShowsWhenSent)
{
    arrive("+BCAST\n+ab\n+x\n-y\n");
    EXPECT_EQ(toSjis(pane.transcript()->toPlainText()), "ab\x81\x46 x\n     y\n");
    pane.input()->setText(u(" hi "));
    QTest::keyClick(pane.input(), Qt::Key_Return);
    EXPECT_EQ(sent(), "+BCAST\n-hi\n");
    EXPECT_EQ(toSjis(lastLine(*pane.transcript())), "me\x81\x46 hi");
    // Refused for sending too fast: the pane says so.
    arrive("+BCASTNG\n-2\n");
    EXPECT_EQ(lastLine(*pane.transcript()), u("*** メッセージを送信できませんでした。"));
}

TEST_F(ChatTest, PingIsAnsweredWithItsItemsUnchanged)
{
    arrive("+PING\n+bob\n+-12345\n-77\n");
    EXPECT_EQ(sent(), "+PONG\n+bob\n+-12345\n-77\n");
    arrive("+PING\n-bob\n"); // missing items go back empty
    EXPECT_EQ(sent(), "+PONG\n+bob\n+\n-\n");
}

TEST_F(ChatTest, ATellOpensOneWindowAtTheTopLeftThatKeepsTheConversation)
{
    arrive("+TELL\n+bob\n+hello\n-again\n");
    ASSERT_EQ(open<ChatWindow>().size(), 1u);
    ChatWindow* window = open<ChatWindow>()[0];
    EXPECT_EQ(window->peer(), "bob");
    EXPECT_EQ(window->pos(), ChatWindow::openPosition);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), u("チャット: bob (me)"));
    EXPECT_EQ(toSjis(window->transcript()->toPlainText()), "bob\x81\x46 hello\n      again\n");
    EXPECT_EQ(sounds, 1); // "chatbell" rings for a new window only
    EXPECT_FALSE(window->bellBox()->isChecked());
    EXPECT_FALSE(window->raiseBox()->isChecked());

    arrive("+TELL\n+bob\n-2\n");
    EXPECT_EQ(open<ChatWindow>().size(), 1u);
    EXPECT_EQ(sounds, 1);
    window->bellBox()->setChecked(true);
    arrive("+TELL\n+bob\n-3\n");
    EXPECT_EQ(sounds, 2); // the window's own box
    EXPECT_EQ(lastLine(*window->transcript()), u("bob： 3"));

    // Another sender gets a window of its own; without "chatbell" it opens silently.
    bell = false;
    arrive("+TELL\n+carol\n-hi\n");
    EXPECT_EQ(open<ChatWindow>().size(), 2u);
    EXPECT_EQ(sounds, 2);
    // The chat command finds the open window instead of opening another one.
    EXPECT_EQ(chat->openChat("bob"), window);
    EXPECT_EQ(open<ChatWindow>().size(), 2u);
}

TEST_F(ChatTest, ChatWindowSendsAsTypedFollowsThePeerAndShowsRefusals)
{
    ChatWindow* window = chat->openChat("bob");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(sounds, 0); // opening by command is silent
    struct Case {
        QString typed;
        const char* wire; // null: nothing goes out and the input keeps its text
    };
    const Case cases[] = {
        { u("  a"), "+TELL\n+bob\n-  a\n" }, // leading spaces are sent
        { u(" \t "), nullptr },
        { u(""), nullptr },
    };
    for (const Case& c : cases) {
        window->input()->setText(c.typed);
        QTest::keyClick(window->input(), Qt::Key_Return);
        EXPECT_EQ(sent(), c.wire ? c.wire : "") << c.typed.toStdString();
        EXPECT_EQ(window->input()->text().isEmpty(), c.wire != nullptr || c.typed.isEmpty());
    }
    EXPECT_EQ(lastLine(*window->transcript()), u("me：   a"));

    // The server answers each private message in order; a refusal shows where it was written.
    window->input()->setText(u("b"));
    window->sendButton()->click();
    arrive("-TELLOK\n");
    arrive("+TELLNG\n+2\n-too many messages\n");
    EXPECT_EQ(lastLine(*window->transcript()), u("*** メッセージを送信できませんでした。"));
    EXPECT_TRUE(pane.transcript()->toPlainText().isEmpty());

    arrive("+LOGOUT\n-bob\n");
    EXPECT_EQ(lastLine(*window->transcript()), u("*** bob さんがログアウトしました。"));
    EXPECT_FALSE(window->sendButton()->isEnabled());
    EXPECT_TRUE(window->input()->isReadOnly());
    arrive("+LOGIN\n+bob\n-1700000000\n");
    EXPECT_EQ(lastLine(*window->transcript()), u("*** bob さんがログインしました。"));
    EXPECT_TRUE(window->sendButton()->isEnabled());
    EXPECT_FALSE(window->input()->isReadOnly());
    arrive("+LOGOUT\n-bobby\n"); // another user: nothing
    EXPECT_TRUE(window->sendButton()->isEnabled());

    // Escape leaves it open; 閉じる closes it.
    QTest::keyClick(window, Qt::Key_Escape);
    settle();
    EXPECT_EQ(open<ChatWindow>().size(), 1u);
    window->closeButton()->click();
    settle();
    EXPECT_TRUE(open<ChatWindow>().empty());
}

TEST_F(ChatTest, ChatWindowsCloseOnConnectionLossAndOnDisconnect)
{
    struct Case {
        const char* how;
        std::function<void(ChatTest&)> end;
    };
    const Case cases[] = {
        { "disconnect", [](ChatTest& t) { t.session.disconnect(); } },
        { "peer close",
            [](ChatTest& t) {
                t.socket->reads.push_back({ "", 0 });
                t.socket->handler->peerClosed();
            } },
    };
    for (const Case& c : cases) {
        if (!session.isConnected()) {
            session.connectMain("me", "pw");
            socket->handler->connectCompleted(0);
            settle();
            session.networkTick();
        }
        chat->openChat("bob");
        chat->openChat("carol");
        ASSERT_EQ(open<ChatWindow>().size(), 2u) << c.how;
        c.end(*this);
        settle();
        EXPECT_TRUE(open<ChatWindow>().empty()) << c.how;
    }
}

TEST_F(ChatTest, PeerPropertiesShowProfileDelayAndSendOneMessage)
{
    RecordLibrary library;
    CollectionTree& network = library.collection(networkCollection);
    network.ensureRoot("net", 0);
    const int news = network.addFolder(0, "Pavione News", 0);
    const int bob = network.addFolder(0, "bob", 1700000000);
    network.setShareComment(bob, "\x8d\x95"); // 黒
    const int carol = network.addFolder(0, "carol", 1700000100);

    chat->openProperties(library, { networkCollection, news });
    chat->openProperties(library, { networkCollection, 0 });
    EXPECT_TRUE(open<PeerPropertiesDialog>().empty());
    EXPECT_EQ(sent(), "");

    chat->openProperties(library, { networkCollection, bob });
    chat->openProperties(library, { networkCollection, carol });
    chat->openProperties(library, { networkCollection, bob }); // comes forward, asks again
    EXPECT_EQ(sent(), "+PROFILE\n-bob\n+PROFILE\n-carol\n+PROFILE\n-bob\n");
    ASSERT_EQ(open<PeerPropertiesDialog>().size(), 2u);
    PeerPropertiesDialog* b = open<PeerPropertiesDialog>()[0];
    PeerPropertiesDialog* c = open<PeerPropertiesDialog>()[1];
    EXPECT_EQ(b->windowTitle(), u("bob のプロパティ"));
    EXPECT_EQ(b->nameField()->text(), u("bob"));
    EXPECT_EQ(b->commentField()->text(), u("黒"));
    EXPECT_TRUE(b->loginTimeField()->text().startsWith(u("2023/11/1")))
        << b->loginTimeField()->text().toStdString();

    // Every window shows the idle time of the latest answer, whoever it was about.
    arrive("+PROFILE\n+carol\n+\n+1700000100\n-42\n");
    EXPECT_EQ(b->idleField()->text(), u("42 秒"));
    EXPECT_EQ(c->idleField()->text(), u("42 秒"));
    arrive("+MODCOMMENT\n+bob\n-new\n");
    EXPECT_EQ(b->commentField()->text(), u("new"));
    EXPECT_EQ(c->commentField()->text(), u(""));

    // 接続状況: the round trip. The answer comes 1234 ms later with 250 ms on the peer's side.
    b->pingButton()->click();
    EXPECT_EQ(sent(), "+PING\n+bob\n-50000\n");
    EXPECT_EQ(b->pingResult()->text(), u("サーバに問い合わせ中..."));
    now += 1234;
    arrive("+PONG\n+carol\n+250\n-50000\n"); // about carol: not for bob's window
    EXPECT_EQ(b->pingResult()->text(), u("サーバに問い合わせ中..."));
    arrive("+PONG\n+bob\n+250\n-50000\n");
    EXPECT_EQ(b->pingResult()->text(), u("遅延： 自分側 - 0.98 秒、相手側 - 0.25 秒"));

    // 送信 with nothing typed does nothing; Enter with nothing typed closes; a message is sent
    // trimmed and closes the window.
    b->sendButton()->click();
    settle();
    EXPECT_EQ(open<PeerPropertiesDialog>().size(), 2u);
    b->messageEdit()->setText(u("  good game \t"));
    b->sendButton()->click();
    settle();
    EXPECT_EQ(sent(), "+TELL\n+bob\n-good game\n");
    ASSERT_EQ(open<PeerPropertiesDialog>().size(), 1u);
    QTest::keyClick(c->messageEdit(), Qt::Key_Return);
    settle();
    EXPECT_TRUE(open<PeerPropertiesDialog>().empty());
    EXPECT_EQ(sent(), "");
}

TEST_F(ChatTest, PeerPropertiesCloseWhenTheirUserOrFolderGoes)
{
    RecordLibrary library;
    CollectionTree& network = library.collection(networkCollection);
    network.ensureRoot("net", 0);
    const int bob = network.addFolder(0, "bob", 1);
    struct Case {
        const char* how;
        std::function<void(ChatTest&)> end;
        bool closes;
    };
    const Case cases[] = {
        { "another user's logout", [](ChatTest& t) { t.arrive("+LOGOUT\n-carol\n"); }, false },
        { "a folder of another collection",
            [bob](ChatTest& t) {
                t.windows.notify(WindowNotice(WindowFolderRemoved, libraryNoticeKey(0, bob)));
            },
            false },
        { "logout", [](ChatTest& t) { t.arrive("+LOGOUT\n-bob\n"); }, true },
        { "its folder",
            [bob](ChatTest& t) {
                t.windows.notify(
                    WindowNotice(WindowFolderRemoved, libraryNoticeKey(networkCollection, bob)));
            },
            true },
        { "the network root", [](ChatTest& t) { t.session.disconnect(); }, true },
        { "connection lost", [](ChatTest& t) { t.windows.notify(ConnectionLostNotice()); }, true },
        { "escape",
            [](ChatTest& t) { QTest::keyClick(t.open<PeerPropertiesDialog>()[0], Qt::Key_Escape); },
            true },
    };
    for (const Case& c : cases) {
        if (!session.isConnected()) {
            session.connectMain("me", "pw");
            socket->handler->connectCompleted(0);
            settle();
        }
        chat->openProperties(library, { networkCollection, bob });
        ASSERT_EQ(open<PeerPropertiesDialog>().size(), 1u) << c.how;
        c.end(*this);
        settle();
        EXPECT_EQ(open<PeerPropertiesDialog>().empty(), c.closes) << c.how;
    }
}

} // namespace
