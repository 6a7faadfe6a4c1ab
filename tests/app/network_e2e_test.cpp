// Two programs and the real sharing server on loopback: logging in, seeing each other among the
// network computers, browsing a share, copying a record, descriptions, refusals and disconnect.
#include "networkprogram.h"

#include "buildpaths.h"

#include "board/randomgame.h"
#include "library/libraryoperations.h"
#include "library/settings.h"
#include "library/sharedfolders.h"
#include "net/passwordscramble.h"
#include "platform/sjis.h"
#include "records/gamerecord.h"
#include "records/recordline.h"
#include "ui/chatpane.h"
#include "ui/commandids.h"
#include "ui/foldertreeview.h"
#include "ui/recordlistmodel.h"
#include "ui/recordlistview.h"

#include <QProcess>
#include <QRegularExpression>

#include <random>

namespace {

// pavione-server on ephemeral loopback ports with a fresh database holding alice and bob.
class SharingServer {
public:
    SharingServer()
    {
        const QString db = m_dir.filePath(QStringLiteral("server.db"));
        QProcess accounts;
        accounts.start(QStringLiteral(PAVIONE_SERVER_PATH),
            { QStringLiteral("--db"), db, QStringLiteral("user"), QStringLiteral("import"),
                QStringLiteral("--cheap-hash") });
        accounts.write("alice pw-alice\nbob pw-bob\n");
        accounts.closeWriteChannel();
        if (!accounts.waitForFinished(20000) || accounts.exitCode() != 0)
            return;
        m_server.setReadChannel(QProcess::StandardError);
        m_server.start(QStringLiteral(PAVIONE_SERVER_PATH),
            { QStringLiteral("--db"), db, QStringLiteral("--listen"), QStringLiteral("127.0.0.1"),
                QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--presence-port"),
                QStringLiteral("0") });
        // The first log line names the ports.
        QByteArray log;
        const QRegularExpression ports(QStringLiteral("port (\\d+), presence port (\\d+)"));
        while (m_server.waitForReadyRead(20000)) {
            log += m_server.readAll();
            const QRegularExpressionMatch m = ports.match(QString::fromUtf8(log));
            if (m.hasMatch()) {
                m_port = m.captured(1);
                m_presencePort = m.captured(2);
                break;
            }
        }
    }
    ~SharingServer() { stop(); }

    void stop()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }

    bool running() const { return !m_port.isEmpty(); }
    QStringList clientArguments() const
    {
        return { QStringLiteral("--server"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
            m_port, QStringLiteral("--presence-port"), m_presencePort };
    }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    QString m_port;
    QString m_presencePort;
};

// The names of a network folder's child folders, in order.
std::vector<std::string> childNames(const CollectionTree& network, int folder)
{
    std::vector<std::string> names;
    for (int child : network.folder(folder).children) {
        if (network.folderIsLive(child))
            names.push_back(network.folder(child).name);
    }
    return names;
}

class NetworkEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.running());
        m_alice = std::make_unique<NetworkProgram>(m_server.clientArguments());
        m_bob = std::make_unique<NetworkProgram>(m_server.clientArguments());
        ASSERT_TRUE(m_alice->started);
        ASSERT_TRUE(m_bob->started);
    }
    void TearDown() override
    {
        m_alice.reset();
        m_bob.reset();
    }

    // Logs both in and waits until each sees the other among the network computers.
    void logBothIn()
    {
        alice().client().login({ "alice", "pw-alice", true });
        ASSERT_TRUE(
            NetworkProgram::waitFor([&] { return !alice().frame().chatPane()->isOffline(); }));
        bob().client().login({ "bob", "pw-bob", false });
        ASSERT_TRUE(NetworkProgram::waitFor(
            [&] { return computer(alice(), "bob") > 0 && computer(bob(), "alice") > 0; }));
    }

    // The computer folder of a user in a program's network collection, or -1.
    static int computer(NetworkProgram& program, const std::string& user)
    {
        return program.collection(networkCollection).findChild(0, user);
    }

    // Shows a network folder as a click in the tree does and waits for its listing.
    static void browse(NetworkProgram& program, int folder)
    {
        SharedFolderExchange& shared = program.client().sharedFolders();
        const int32_t before = shared.listedAt(folder);
        program.frame().folderTreeView()->select({ networkCollection, folder });
        ASSERT_TRUE(NetworkProgram::waitFor([&] {
            return shared.listedAt(folder) != before && !program.client().applyingListing();
        }));
    }

    NetworkProgram& alice() { return *m_alice; }
    NetworkProgram& bob() { return *m_bob; }

    SharingServer m_server;
    std::unique_ptr<NetworkProgram> m_alice;
    std::unique_ptr<NetworkProgram> m_bob;
};

TEST_F(NetworkEndToEnd, BrowseAShareAndCopyARecord)
{
    // Bob shares a folder holding a played game, with a sub-folder that is not shared.
    LibraryOperations& bobOps = bob().doc().operations();
    const int games = bobOps.newFolder(myRecordsCollection, 0, "games");
    bobOps.setShare(myRecordsCollection, games, std::string("pub"), "bob's games");
    const int hidden = bobOps.newFolder(myRecordsCollection, games, "private");
    bobOps.newRecord(myRecordsCollection, hidden, newNamedRecord("secret"));
    std::mt19937 rng(7);
    GameRecord played = newNamedRecord("game one");
    CollectionTree& bobOwn = bob().collection(myRecordsCollection);
    played.blackPlayer = static_cast<int16_t>(bobOwn.playerNames().findOrAdd("Kuro"));
    played.whitePlayer = static_cast<int16_t>(bobOwn.playerNames().findOrAdd("Shiro"));
    played.comment = "a comment";
    normaliseMoves(played, randomGame(rng), bob().doc().library().openingBook());
    const int original = bobOps.newRecord(myRecordsCollection, games, played);
    ASSERT_GE(original, 0);

    logBothIn();
    // The saved name and password are written once the login succeeded.
    EXPECT_EQ(alice().storedSettings()->value(QStringLiteral("login")).toString(),
        QStringLiteral("alice"));
    EXPECT_EQ(alice().storedSettings()->value(QStringLiteral("passwd")).toString().toStdString(),
        scramblePassword("pw-alice"));

    CollectionTree& network = alice().collection(networkCollection);
    const int bobsComputer = computer(alice(), "bob");
    browse(alice(), bobsComputer);
    ASSERT_EQ(childNames(network, bobsComputer), std::vector<std::string> { "pub" });
    const int share = network.findChild(bobsComputer, "pub");
    EXPECT_EQ(network.folder(share).shareComment, "bob's games");

    browse(alice(), share);
    ASSERT_EQ(network.folder(share).records.size(), 1u);
    EXPECT_TRUE(network.folder(share).children.empty());
    RecordListView& list = *alice().frame().recordListView();
    EXPECT_EQ(list.shownFolder(), (FolderKey { networkCollection, share }));
    ASSERT_EQ(list.listModel().rowCount(), 1);

    // Copy and paste through the list into マイ 棋譜集.
    list.selectAll();
    ASSERT_TRUE(alice().frame().dispatch(CommandId::CopyItems, &list));
    const int target = alice().doc().operations().newFolder(myRecordsCollection, 0, "from bob");
    alice().doc().pasteInto({ myRecordsCollection, target });
    const CollectionTree& aliceOwn = alice().collection(myRecordsCollection);
    ASSERT_EQ(aliceOwn.folder(target).records.size(), 1u);
    const GameRecord& copy = aliceOwn.record(aliceOwn.folder(target).records[0]);
    EXPECT_EQ(recordToLine(copy, aliceOwn.playerNames()),
        recordToLine(bobOwn.record(original), bobOwn.playerNames()));
    EXPECT_EQ(aliceOwn.playerNames().name(copy.blackPlayer), "Kuro");

    // 最新の情報に更新 asks again at once and replaces the records; a viewer of a record the
    // new listing replaced closes.
    alice().frame().openViewer(networkCollection, network.folder(share).records[0]);
    ASSERT_EQ(alice().frame().windows().count(), 1);
    bobOps.newRecord(myRecordsCollection, games, newNamedRecord("game two"));
    const int32_t listed = alice().client().sharedFolders().listedAt(share);
    list.setFocus();
    ASSERT_TRUE(alice().frame().dispatch(CommandId::Refresh, &list));
    ASSERT_TRUE(
        NetworkProgram::waitFor([&] { return network.folder(share).records.size() == 2u; }));
    EXPECT_GE(alice().client().sharedFolders().listedAt(share), listed);
    EXPECT_EQ(list.listModel().rowCount(), 2);
    EXPECT_TRUE(NetworkProgram::waitFor([&] { return alice().frame().windows().count() == 0; }));

    // The windows on network records close when the connection goes (切断).
    alice().frame().openEditor(networkCollection, network.folder(share).records[0]);
    alice().frame().openViewer(networkCollection, network.folder(share).records[1]);
    ASSERT_EQ(alice().frame().windows().count(), 2);
    alice().frame().dispatch(CommandId::Disconnect);
    EXPECT_TRUE(NetworkProgram::waitFor([&] { return alice().frame().windows().count() == 0; }));
    EXPECT_TRUE(childNames(network, 0).empty());
}

TEST_F(NetworkEndToEnd, AServerThatGoesAwayTakesBothOffline)
{
    logBothIn();
    m_server.stop();
    for (NetworkProgram* program : { &alice(), &bob() }) {
        ASSERT_TRUE(NetworkProgram::waitFor([&] { return !program->client().isConnected(); }));
        EXPECT_TRUE(program->frame().chatPane()->isOffline());
        EXPECT_TRUE(childNames(program->collection(networkCollection), 0).empty());
    }
}

TEST_F(NetworkEndToEnd, DescriptionsLogoutAndDisconnect)
{
    logBothIn();
    // A description set while online reaches the other user's computer folder.
    alice().prompts.answerSettings("alice's pc", true);
    alice().frame().dispatch(CommandId::NetworkSettings);
    ASSERT_TRUE(NetworkProgram::waitFor([&] {
        const int folder = computer(bob(), "alice");
        return folder > 0
            && bob().collection(networkCollection).folder(folder).shareComment == "alice's pc";
    }));

    // Disconnecting empties the own network computers and the other side sees the logout.
    alice().frame().dispatch(CommandId::Disconnect);
    EXPECT_FALSE(alice().client().isConnected());
    EXPECT_TRUE(alice().frame().chatPane()->isOffline());
    EXPECT_TRUE(childNames(alice().collection(networkCollection), 0).empty());
    ASSERT_TRUE(NetworkProgram::waitFor([&] { return computer(bob(), "alice") < 0; }));

    // The description goes out again with the next login.
    alice().client().login({ "alice", "pw-alice", false });
    ASSERT_TRUE(NetworkProgram::waitFor([&] {
        const int folder = computer(bob(), "alice");
        return folder > 0
            && bob().collection(networkCollection).folder(folder).shareComment == "alice's pc";
    }));
}

TEST_F(NetworkEndToEnd, AWrongPasswordIsToldAndTheDialogComesBack)
{
    alice().client().login({ "alice", "wrong", false });
    ASSERT_TRUE(NetworkProgram::waitFor([&] { return !alice().prompts.loginFills.empty(); }));
    EXPECT_EQ(alice().prompts.warnings,
        QStringList { QString::fromUtf8("ログイン失敗|ユーザ名またはパスワードが違います。") });
    EXPECT_EQ(alice().prompts.loginFills[0], (LoginFields { "alice", "", false }));
    EXPECT_FALSE(alice().client().isConnected());
    EXPECT_TRUE(alice().frame().chatPane()->isOffline());
}

} // namespace
