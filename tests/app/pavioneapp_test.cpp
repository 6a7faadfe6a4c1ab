#include "testsession.h"

#include "app/librarydocument.h"
#include "app/pavioneapp.h"
#include "board/notation.h"
#include "platform/sjis.h"
#include "records/openingbook.h"
#include "ui/mainwindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QSplitter>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

const QString japaneseComment = QString::fromUtf8("対局用のﾊﾟｿｺﾝ～");

TEST(PavioneApp, FirstStartUsesTheDefaultsAndExitWritesThemBack)
{
    TestSession session;
    {
        PavioneApp app;
        ASSERT_TRUE(app.start(session.arguments()));
        const Settings& s = app.settings();
        EXPECT_EQ(s.delforce, 0);
        EXPECT_EQ(s.delconfirm, 1);
        EXPECT_EQ(s.chatbell, 1);
        EXPECT_EQ(s.yahoobell, 1);
        EXPECT_EQ(s.yahoosave, 1);
        EXPECT_EQ(s.yahooclose, 0);
        EXPECT_EQ(s.yahooauto, 0);
        EXPECT_EQ(s.compcmt, "");
        EXPECT_FALSE(app.captureOn());
        // Nothing reaches the store before exit.
        EXPECT_TRUE(session.storedSettings()->childKeys().isEmpty());
        app.exit();
    }
    const auto stored = session.storedSettings();
    QStringList keys = stored->childKeys();
    keys.sort();
    EXPECT_EQ(keys,
        QStringList({ "chatbell", "compcmt", "delconfirm", "delforce", "serialCode", "server",
            "yahooauto", "yahoobell", "yahooclose", "yahoosave" }));
    EXPECT_EQ(stored->value("delforce").toInt(), 0);
    EXPECT_EQ(stored->value("delconfirm").toInt(), 1);
    EXPECT_EQ(stored->value("compcmt").toString(), QString());
    EXPECT_EQ(stored->value("yahoosave").toInt(), 1);
    EXPECT_EQ(stored->value("serialCode").toInt(), 0);
    EXPECT_EQ(stored->value("server").toString(), QStringLiteral("localhost"));
}

TEST(PavioneApp, ExitWritesChangesAndLeavesInstalledAlone)
{
    TestSession session;
    {
        const auto preset = session.storedSettings();
        preset->setValue("installed", 946684800);
        preset->setValue("delforce", 5);
        preset->setValue("yahoobell", 0);
        preset->setValue("compcmt", japaneseComment);
        preset->setValue("serialCode", 12);
    }
    {
        PavioneApp app;
        ASSERT_TRUE(app.start(session.arguments()));
        Settings& s = app.settings();
        EXPECT_EQ(s.installed, 946684800);
        EXPECT_EQ(s.delforce, 5);
        EXPECT_EQ(s.yahoobell, 0);
        EXPECT_EQ(s.compcmt, toSjis(japaneseComment));
        EXPECT_EQ(s.serialCode, 12);
        s.serialCode = 4711;
        s.installed = 1; // held in memory only
        s.delconfirm = 0;
        app.exit();
    }
    const auto stored = session.storedSettings();
    EXPECT_EQ(stored->value("installed").toInt(), 946684800);
    EXPECT_EQ(stored->value("delforce").toInt(), 1);
    EXPECT_EQ(stored->value("delconfirm").toInt(), 0);
    EXPECT_EQ(stored->value("yahoobell").toInt(), 0);
    EXPECT_EQ(stored->value("compcmt").toString(), japaneseComment);
    EXPECT_EQ(stored->value("serialCode").toInt(), 4711);
}

TEST(PavioneApp, UnreadableNumbersFallBackToTheirDefaults)
{
    TestSession session;
    session.storedSettings()->setValue("delconfirm", "often");
    PavioneApp app;
    ASSERT_TRUE(app.start(session.arguments()));
    EXPECT_EQ(app.settings().delconfirm, 1);
}

struct VersionFileCase {
    const char* name;
    const char* contents; // null: no file
    int version;
};

void PrintTo(const VersionFileCase& c, std::ostream* os)
{
    *os << c.name;
}

class PavioneAppVersion : public testing::TestWithParam<VersionFileCase> { };

TEST_P(PavioneAppVersion, ReadsTheVersionFileOfTheDataDirectory)
{
    TestSession session;
    if (GetParam().contents) {
        QFile file(session.dataDir() + "/pavionev.dll");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(GetParam().contents);
    }
    PavioneApp app;
    ASSERT_TRUE(app.start(session.arguments()));
    EXPECT_EQ(app.version(), GetParam().version);
    // Whatever the file says, the title shows 0.30.
    EXPECT_EQ(app.mainFrame()->windowTitle(), QStringLiteral("Pavione ver.0.30"));
}

INSTANTIATE_TEST_SUITE_P(Cases, PavioneAppVersion,
    testing::Values(VersionFileCase { "oneEThenThirteen", "1E0123456789abc\r\n", 14 * 256 + 1 },
        VersionFileCase { "belowThirty", "0\n", 30 }, VersionFileCase { "missing", nullptr, 30 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PavioneApp, DataDirectoryHoldsTheProgramsFiles)
{
    TestSession session;
    PavioneApp app;
    ASSERT_TRUE(app.start(session.arguments()));
    const std::string dir = QFile::encodeName(session.dataDir()).toStdString() + "/";
    EXPECT_EQ(app.programDirectory(), dir);
    EXPECT_EQ(app.document()->dataDirectory(), dir);
    EXPECT_EQ(app.document()->filePath("private.kif"), dir + "private.kif");
    EXPECT_EQ(&app.document()->settings(), &app.settings());
}

TEST(PavioneApp, WithoutDataDirectoryUsesTheProgramsOwn)
{
    TestSession session;
    PavioneApp app;
    ASSERT_TRUE(app.start({ QStringLiteral("pavione") }));
    const std::string dir
        = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString() + "/";
    EXPECT_EQ(app.programDirectory(), dir);
}

TEST(PavioneApp, UnknownOptionEndsStartUp)
{
    TestSession session;
    PavioneApp app;
    EXPECT_FALSE(app.start({ QStringLiteral("pavione"), QStringLiteral("--no-such-option") }));
    EXPECT_EQ(app.mainFrame(), nullptr);
}

TEST(PavioneApp, YahooAutoSwitchesCaptureOnAtStart)
{
    TestSession session;
    session.storedSettings()->setValue("yahooauto", 1);
    PavioneApp app;
    ASSERT_TRUE(app.start(session.arguments()));
    EXPECT_TRUE(app.captureOn());
    MainWindow* frame = app.mainFrame();
    EXPECT_FALSE(frame->commandState(CommandId::CaptureStart).enabled);
    EXPECT_TRUE(frame->commandState(CommandId::CaptureStop).enabled);
}

TEST(PavioneApp, OneInstanceIsReachableWhileItLives)
{
    EXPECT_EQ(PavioneApp::instance(), nullptr);
    {
        PavioneApp app;
        EXPECT_EQ(PavioneApp::instance(), &app);
    }
    EXPECT_EQ(PavioneApp::instance(), nullptr);
}

TEST(PavioneApp, WindowPlaceAndSplittersAreKeptOutsideTheSettingsGroup)
{
    TestSession session;
    QSize size;
    QList<int> outer, inner;
    {
        PavioneApp app;
        ASSERT_TRUE(app.start(session.arguments()));
        MainWindow* frame = app.mainFrame();
        frame->resize(930, 710);
        frame->outerSplitter()->setSizes({ 310, 600 });
        frame->innerSplitter()->setSizes({ 300, 300 });
        size = frame->size();
        outer = frame->outerSplitter()->sizes();
        inner = frame->innerSplitter()->sizes();
        app.exit();
    }
    PavioneApp again;
    ASSERT_TRUE(again.start(session.arguments()));
    EXPECT_EQ(again.mainFrame()->size(), size);
    EXPECT_EQ(again.mainFrame()->outerSplitter()->sizes(), outer);
    EXPECT_EQ(again.mainFrame()->innerSplitter()->sizes(), inner);
    // The program's settings keep exactly their keys.
    QStringList keys = session.storedSettings()->childKeys();
    keys.sort();
    EXPECT_EQ(keys,
        QStringList({ "chatbell", "compcmt", "delconfirm", "delforce", "serialCode", "server",
            "yahooauto", "yahoobell", "yahooclose", "yahoosave" }));
}

TEST(PavioneApp, QtsOwnDialogTextsAreJapanese)
{
    TestSession session;
    PavioneApp app;
    ASSERT_TRUE(app.start(session.arguments()));
    EXPECT_EQ(
        QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("キャンセル"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"),
        QString::fromUtf8("ファイル名(&N):"));
}

TEST(PavioneApp, OpeningNamesComeFromTheDataDirectoryOrFromTheProgram)
{
    struct Case {
        const char* file; // the data directory's opening.txt; null for none
        const char* moves;
        const char* name;
    };
    const Case cases[] = {
        { nullptr, "F5D6C3D3C4B3C6B6", "イエス流 8-b6型" },
        { nullptr, "F5D6C3D3C4B5", "Berg Tiger" },
        { "F5D6C3,mine\n", "F5D6C3D3C4B5", "mine" },
        { "F5D6C3,mine\n", "F5D6C3D3C4B3C6B6", "mine" },
        { "no comma here\n", "F5D6C3D3C4B3C6B6", "イエス流 8-b6型" },
    };
    for (const Case& c : cases) {
        TestSession session;
        if (c.file) {
            QFile file(session.dataDir() + QStringLiteral("/opening.txt"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.file);
        }
        PavioneApp app;
        ASSERT_TRUE(app.start(session.arguments()));
        const OpeningBook& book = app.document()->library().openingBook();
        EXPECT_EQ(fromSjis(book.name(book.lookup(textToMoves(c.moves)))), QString::fromUtf8(c.name))
            << (c.file ? c.file : "(no file)") << " " << c.moves;
    }
}

} // namespace
