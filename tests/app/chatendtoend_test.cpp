// Two users chat through the real pavione-server on loopback: each has its own session over Qt
// sockets, its own chat pane and windows and its own chat controller, as two programs would.
#include "buildpaths.h"
#include "networkprogram.h"

#include "library/recordlibrary.h"
#include "net/networksession.h"
#include "net/noticerouting.h"
#include "net/notices.h"
#include "platform/qtsocketport.h"
#include "platform/sjis.h"
#include "ui/chatcontroller.h"
#include "ui/chatpane.h"
#include "ui/chatwindow.h"
#include "ui/connectdialog.h"
#include "ui/peerpropertiesdialog.h"
#include "ui/windowregistry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The sharing server on ephemeral loopback ports with a fresh database holding two accounts.
class ServerProcess {
public:
    bool start()
    {
        if (!m_dir.isValid())
            return false;
        const QString db = m_dir.filePath(QStringLiteral("server.db"));
        QProcess accounts;
        accounts.start(QStringLiteral(PAVIONE_SERVER_PATH),
            { QStringLiteral("--db"), db, QStringLiteral("user"), QStringLiteral("import"),
                QStringLiteral("--cheap-hash") });
        accounts.write("alice pw-a\nbob pw-b\n");
        accounts.closeWriteChannel();
        if (!accounts.waitForFinished(20000) || accounts.exitCode() != 0)
            return false;

        m_server.setProcessChannelMode(QProcess::SeparateChannels);
        m_server.start(QStringLiteral(PAVIONE_SERVER_PATH),
            { QStringLiteral("--db"), db, QStringLiteral("--listen"), QStringLiteral("127.0.0.1"),
                QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--presence-port"),
                QStringLiteral("0") });
        QByteArray log;
        const QRegularExpression ports(
            QStringLiteral("listening on port (\\d+), presence port (\\d+)"));
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000) {
            m_server.waitForReadyRead(200);
            log += m_server.readAllStandardError();
            const QRegularExpressionMatch m = ports.match(QString::fromUtf8(log));
            if (m.hasMatch()) {
                endpoint.host = "127.0.0.1";
                endpoint.mainPort = static_cast<uint16_t>(m.captured(1).toUInt());
                endpoint.presencePort = static_cast<uint16_t>(m.captured(2).toUInt());
                return true;
            }
        }
        return false;
    }
    ~ServerProcess()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
        }
    }
    void stop()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }

    ServerEndpoint endpoint;

private:
    QTemporaryDir m_dir;
    QProcess m_server;
};

// One user's program: the session, the pane, the windows and the chat.
class Program : public NetworkSessionHost {
public:
    explicit Program(const ServerEndpoint& endpoint)
        : session(
            endpoint, [] { return std::make_unique<QtSocketPort>(); },
            [this] { return static_cast<uint32_t>(m_clock.elapsed()); }, *this)
    {
        m_clock.start();
        routeNotices(session.dispatcher(), [this](const Notice& n) { return notify(n); });
        chat = std::make_unique<ChatController>(session, pane, windows, nullptr,
            ChatController::Services { [] { return true; }, [this] { ++sounds; },
                [this] { return static_cast<uint32_t>(m_clock.elapsed()); } });
    }
    ~Program() { chat.reset(); }

    int32_t notify(const Notice& notice) override
    {
        if (notice.id == IdLoginOk)
            pane.setOffline(false);
        return windows.notify(notice);
    }
    void mainDisconnected() override
    {
        pane.setOffline(true);
        windows.notify(WindowNotice(WindowFolderRemoved, libraryNoticeKey(networkCollection, 0)));
    }
    void versionChecked(int32_t, std::optional<int32_t>) override { }

    // What the frame's timer and event loop do: the queued connection events, the network work
    // and the windows' close requests.
    void pump()
    {
        while (session.processNextEvent()) { }
        session.networkTick();
        windows.processCloseRequests();
    }
    ChatWindow* chatWindow(const char* peer) const { return chat->chatWindow(peer); }
    PeerPropertiesDialog* properties() const
    {
        for (int32_t i = 0; i < windows.count(); ++i) {
            if (auto* w = dynamic_cast<PeerPropertiesDialog*>(windows.at(i)))
                return w;
        }
        return nullptr;
    }

    int sounds = 0;
    ChatPane pane;
    WindowRegistry windows { nullptr, nullptr };
    NetworkSession session;
    std::unique_ptr<ChatController> chat;

private:
    QElapsedTimer m_clock;
};

bool contains(const QPlainTextEdit* edit, const QString& text)
{
    return edit && edit->toPlainText().contains(text);
}

class ChatEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start());
        alice = std::make_unique<Program>(server.endpoint);
        bob = std::make_unique<Program>(server.endpoint);
    }
    bool waitFor(const std::function<bool()>& done)
    {
        return QTest::qWaitFor(
            [&] {
                alice->pump();
                bob->pump();
                return done();
            },
            10000);
    }
    static void say(QLineEdit* input, const QString& text)
    {
        input->setText(text);
        QTest::keyClick(input, Qt::Key_Return);
    }

    ServerProcess server;
    std::unique_ptr<Program> alice;
    std::unique_ptr<Program> bob;
};

TEST_F(ChatEndToEnd, TwoUsersBroadcastTellProfileAndPing)
{
    alice->session.connectMain("alice", "pw-a");
    bob->session.connectMain("bob", "pw-b");
    ASSERT_TRUE(waitFor([&] { return !alice->pane.isOffline() && !bob->pane.isOffline(); }));

    // Broadcasts both ways: the sender shows its own line, the server passes it to the other.
    say(alice->pane.input(), u("こんにちは"));
    EXPECT_TRUE(contains(alice->pane.transcript(), u("alice： こんにちは")));
    ASSERT_TRUE(waitFor([&] { return contains(bob->pane.transcript(), u("alice： こんにちは")); }));
    say(bob->pane.input(), u("やあ"));
    ASSERT_TRUE(waitFor([&] { return contains(alice->pane.transcript(), u("bob： やあ")); }));
    EXPECT_EQ(alice->pane.transcript()->toPlainText().count(u("こんにちは")), 1); // no echo

    // A private message opens a window at the other end, which answers in it.
    ChatWindow* aliceToBob = alice->chat->openChat("bob");
    ASSERT_NE(aliceToBob, nullptr);
    say(aliceToBob->input(), u("一局どう?"));
    ASSERT_TRUE(waitFor([&] { return bob->chatWindow("alice") != nullptr; }));
    ChatWindow* bobToAlice = bob->chatWindow("alice");
    EXPECT_TRUE(contains(bobToAlice->transcript(), u("alice： 一局どう?")));
    EXPECT_EQ(bob->sounds, 1);
    say(bobToAlice->input(), u("いいよ"));
    ASSERT_TRUE(waitFor([&] { return contains(aliceToBob->transcript(), u("bob： いいよ")); }));
    EXPECT_TRUE(contains(aliceToBob->transcript(), u("alice： 一局どう?")));
    EXPECT_EQ(alice->sounds, 0); // the window was open already

    // Bob's properties at Alice's: the profile's idle time, then the round trip of a PING that
    // Bob's program answers by itself.
    RecordLibrary library;
    CollectionTree& network = library.collection(networkCollection);
    network.ensureRoot("net", 0);
    const int computer = network.addFolder(0, "bob", 1700000000);
    alice->chat->openProperties(library, { networkCollection, computer });
    PeerPropertiesDialog* properties = alice->properties();
    ASSERT_NE(properties, nullptr);
    ASSERT_TRUE(waitFor([&] { return properties->idleField()->text().endsWith(u(" 秒")); }));
    properties->pingButton()->click();
    EXPECT_EQ(properties->pingResult()->text(), u("サーバに問い合わせ中..."));
    ASSERT_TRUE(waitFor(
        [&] { return properties->pingResult()->text().startsWith(u("遅延： 自分側 - ")); }));

    // Broadcasting faster than the server allows: the refused ones say so.
    for (int i = 0; i < 30; ++i)
        say(alice->pane.input(), QStringLiteral("flood %1").arg(i));
    ASSERT_TRUE(waitFor([&] {
        return contains(alice->pane.transcript(), u("*** メッセージを送信できませんでした。"));
    }));
    // And private messages: the refusal shows in the window they were written in.
    for (int i = 0; i < 30; ++i)
        say(aliceToBob->input(), QStringLiteral("tell %1").arg(i));
    ASSERT_TRUE(waitFor([&] {
        return contains(aliceToBob->transcript(), u("*** メッセージを送信できませんでした。"));
    }));

    // Bob logs out: Alice's window says so and stops sending; her properties window closes.
    bob->session.disconnect();
    ASSERT_TRUE(waitFor([&] {
        return contains(aliceToBob->transcript(), u("*** bob さんがログアウトしました。"));
    }));
    EXPECT_FALSE(aliceToBob->sendButton()->isEnabled());
    EXPECT_EQ(alice->properties(), nullptr);
    EXPECT_EQ(bob->chatWindow("alice"), nullptr); // closed by Bob's own disconnect

    // The server goes away: Alice's connection is lost, her chat window closes.
    server.stop();
    ASSERT_TRUE(waitFor([&] { return alice->pane.isOffline(); }));
    EXPECT_EQ(alice->chatWindow("bob"), nullptr);
}

// The same through two whole programs: the chat the application puts on the main window.
TEST(ChatPrograms, TheMainWindowsChatReachesTheOtherProgram)
{
    ServerProcess server;
    ASSERT_TRUE(server.start());
    const QStringList arguments { QStringLiteral("--server"), QStringLiteral("127.0.0.1"),
        QStringLiteral("--port"), QString::number(server.endpoint.mainPort),
        QStringLiteral("--presence-port"), QString::number(server.endpoint.presencePort) };
    NetworkProgram alice(arguments);
    NetworkProgram bob(arguments);
    ASSERT_TRUE(alice.started && bob.started);
    alice.client().login({ "alice", "pw-a", false });
    bob.client().login({ "bob", "pw-b", false });
    const auto computer = [](NetworkProgram& program, const char* user) {
        return program.collection(networkCollection).findChild(0, user);
    };
    ASSERT_TRUE(NetworkProgram::waitFor([&] {
        return !alice.frame().chatPane()->isOffline() && computer(alice, "bob") > 0
            && computer(bob, "alice") > 0;
    }));

    ChatPane& alicePane = *alice.frame().chatPane();
    alicePane.input()->setText(u("はじめまして"));
    QTest::keyClick(alicePane.input(), Qt::Key_Return);
    ASSERT_TRUE(NetworkProgram::waitFor(
        [&] { return contains(bob.frame().chatPane()->transcript(), u("alice： はじめまして")); }));

    // チャット on Bob's computer folder at Alice's, and a message Bob's program opens a window for.
    alice.frame().openChat({ networkCollection, computer(alice, "bob") });
    ChatWindow* window = alice.frame().chat()->chatWindow("bob");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), u("チャット: bob (alice)"));
    window->input()->setText(u("よろしく"));
    QTest::keyClick(window->input(), Qt::Key_Return);
    ASSERT_TRUE(NetworkProgram::waitFor([&] {
        ChatWindow* opened = bob.frame().chat()->chatWindow("alice");
        return opened && contains(opened->transcript(), u("alice： よろしく"));
    }));

    // プロパティ on Bob's computer: his idle time arrives.
    alice.frame().openComputerProperties({ networkCollection, computer(alice, "bob") });
    ASSERT_TRUE(NetworkProgram::waitFor([&] {
        for (int32_t i = 0; i < alice.frame().windows().count(); ++i) {
            auto* p = dynamic_cast<PeerPropertiesDialog*>(alice.frame().windows().at(i));
            if (p && p->idleField()->text().endsWith(u(" 秒")))
                return true;
        }
        return false;
    }));

    // Disconnecting closes the chat window.
    alice.frame().dispatch(CommandId::Disconnect);
    ASSERT_TRUE(NetworkProgram::waitFor(
        [&] { return alice.frame().chat()->chatWindow("bob") == nullptr; }));
}

} // namespace
