#include "networkprogram.h"

#include "library/settings.h"
#include "net/notices.h"
#include "text/texts.h"
#include "ui/chatpane.h"
#include "ui/commandids.h"

#include <QCoreApplication>

namespace {

// Nothing listens on port 1: every connection fails at once.
const QStringList nowhere { QStringLiteral("--server"), QStringLiteral("127.0.0.1"),
    QStringLiteral("--port"), QStringLiteral("1"), QStringLiteral("--presence-port"),
    QStringLiteral("1") };

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(LoginFailureText, EachReasonHasItsMessage)
{
    const std::pair<int32_t, const char*> cases[] = {
        { 5, "ユーザ名またはパスワードが違います。" },
        { 6, "ユーザ名またはパスワードが違います。" },
        { 7, "ログインできませんでした。" },
        { 8, "このホストからの接続は許可されていません。" },
        { 9, "時間内にログイン処理が終了しませんでした。" },
        { 10,
            "ユーザが多過ぎるためログインできません。\r\nしばらくしてから再度接続を試みて下さい"
            "。" },
        { 0, "ログインできませんでした。" },
        { 11, "ログインできませんでした。" },
        { -1, "ログインできませんでした。" },
    };
    for (const auto& [reason, text] : cases) {
        SCOPED_TRACE(reason);
        EXPECT_EQ(fromSjis(loginFailureText(reason).bytes()), u(text));
    }
}

class NetworkClientTest : public testing::Test {
protected:
    NetworkProgram program { nowhere };
};

TEST_F(NetworkClientTest, ARefusedLoginWarnsAndAsksAgainWithTheNameTypedLast)
{
    ASSERT_TRUE(program.started);
    program.client().login({ "alice", "pw", false });
    LoginNgNotice refused;
    refused.reason = 10;
    program.client().notify(refused);
    EXPECT_FALSE(program.client().isConnected());
    ASSERT_TRUE(NetworkProgram::waitFor([&] { return !program.prompts.loginFills.empty(); }));
    EXPECT_EQ(program.prompts.warnings,
        QStringList { u("ログイン失敗|ユーザが多過ぎるためログインできません。\r\n"
                        "しばらくしてから再度接続を試みて下さい。") });
    EXPECT_EQ(program.prompts.loginFills.back(), (LoginFields { "alice", "", false }));
    EXPECT_TRUE(program.frame().chatPane()->isOffline());
}

TEST_F(NetworkClientTest, SavingOffEmptiesTheSavedNameAtOnce)
{
    auto stored = program.storedSettings();
    stored->setValue(QStringLiteral("login"), QStringLiteral("old"));
    stored->setValue(QStringLiteral("passwd"), QStringLiteral("9e9e"));
    stored->sync();
    program.client().login({ "alice", "pw", false });
    stored = program.storedSettings();
    EXPECT_EQ(stored->value(QStringLiteral("login")).toString(), QString());
    EXPECT_EQ(stored->value(QStringLiteral("passwd")).toString(), QString());
}

TEST_F(NetworkClientTest, ConnectShowsTheSavedNameAndPassword)
{
    auto stored = program.storedSettings();
    stored->setValue(QStringLiteral("login"), QStringLiteral("bob"));
    stored->setValue(QStringLiteral("passwd"), QStringLiteral("9d8f")); // "bp" scrambled
    stored->sync();
    program.frame().dispatch(CommandId::Connect);
    ASSERT_EQ(program.prompts.loginFills.size(), 1u);
    EXPECT_EQ(program.prompts.loginFills[0], (LoginFields { "bob", "bp", true }));
}

TEST_F(NetworkClientTest, ANewerVersionStartsTheUpdaterAndQuits)
{
    program.client().versionChecked(30, std::nullopt);
    EXPECT_TRUE(program.prompts.warnings.isEmpty());
    EXPECT_EQ(program.app.settings().serialCode, 0);

    program.client().versionChecked(31, 77);
    EXPECT_EQ(program.app.settings().serialCode, 77);
    EXPECT_EQ(program.prompts.warnings,
        QStringList { u("pavione の更新|更新ファイルが見つかりました。\r\n"
                        "pavione を最新バージョンに更新します。") });
    const QString self = QCoreApplication::applicationFilePath();
    EXPECT_EQ(program.prompts.startedProgram,
        self.left(self.lastIndexOf(QLatin1Char('/')) + 1) + QStringLiteral("autopatch.exe"));
    EXPECT_EQ(program.prompts.startedArguments,
        (QStringList { QStringLiteral("127.0.0.1"), QStringLiteral("patch/030"), self }));
}

TEST_F(NetworkClientTest, SettingsDialogStoresTheDescriptionAndTheBell)
{
    program.prompts.answerSettings("my pc", false);
    program.frame().dispatch(CommandId::NetworkSettings);
    EXPECT_EQ(program.prompts.settingsAsked, 1);
    EXPECT_EQ(program.app.settings().compcmt, "my pc");
    EXPECT_EQ(program.app.settings().chatbell, 0);
}

TEST_F(NetworkClientTest, PagesLieOnTheServerHost)
{
    program.frame().dispatch(CommandId::HomePage);
    EXPECT_EQ(
        program.prompts.pages, std::vector<QUrl> { QUrl(QStringLiteral("http://127.0.0.1/")) });
    EXPECT_EQ(program.client().registrationPage(),
        QUrl(QStringLiteral("http://127.0.0.1/user/register.cgi")));
}

TEST(NetworkClientServer, TheCommandLineHostHoldsForTheRunAndTheSettingStays)
{
    const auto prepare = [](QSettings& s) {
        s.setValue(QStringLiteral("server"), QStringLiteral("sharing.example"));
    };
    {
        NetworkProgram fromSetting({ QStringLiteral("--port"), QStringLiteral("1") }, prepare);
        ASSERT_TRUE(fromSetting.started);
        EXPECT_EQ(fromSetting.client().session().endpoint().host, "sharing.example");
        EXPECT_EQ(fromSetting.client().session().endpoint().mainPort, 1);
        EXPECT_EQ(fromSetting.client().session().endpoint().presencePort, 9293);
    }
    NetworkProgram overridden(nowhere, prepare);
    ASSERT_TRUE(overridden.started);
    EXPECT_EQ(overridden.client().session().endpoint().host, "127.0.0.1");
    overridden.app.exit();
    EXPECT_EQ(overridden.storedSettings()->value(QStringLiteral("server")).toString(),
        QStringLiteral("sharing.example"));
}

TEST(NetworkClientServer, ABadPortEndsTheStart)
{
    NetworkProgram bad({ QStringLiteral("--port"), QStringLiteral("70000") });
    EXPECT_FALSE(bad.started);
}

} // namespace
