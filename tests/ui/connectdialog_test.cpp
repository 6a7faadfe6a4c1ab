#include "platform/sjis.h"
#include "ui/connectdialog.h"
#include "ui/networksettingsdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const QUrl page(QStringLiteral("http://sharing.example/user/register.cgi"));

TEST(ConnectDialogFill, FollowsTheSavedNameAndTheFailedLogin)
{
    struct Case {
        const char* savedUser;
        const char* savedPassword;
        bool afterFailure;
        const char* lastUser;
        LoginFields expected;
    };
    const Case cases[] = {
        { "", "", false, "", { "", "", false } },
        { "alice", "pw", false, "", { "alice", "pw", true } },
        // The name typed last comes back, never a password.
        { "alice", "pw", true, "alicia", { "alicia", "", true } },
        { "", "", true, "bob", { "bob", "", false } },
        // A name typed before does not fill a dialog opened by the connect command.
        { "", "", false, "bob", { "", "", false } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.savedUser) + "/" + c.lastUser);
        EXPECT_EQ(connectDialogFill(c.savedUser, c.savedPassword, c.afterFailure, c.lastUser),
            c.expected);
    }
}

TEST(ConnectDialog, OkChecksTheNameThenThePassword)
{
    struct Case {
        const char* user;
        const char* password;
        const char* message; // null: accepted
        const char* focus;
    };
    const Case cases[] = {
        { "", "", "ユーザIDが入力されていません。", "user" },
        { "", "pw", "ユーザIDが入力されていません。", "user" },
        { "alice", "", "パスワードが入力されていません。", "password" },
        { "alice", "pw", nullptr, nullptr },
        // A name of spaces is a name: the server answers it.
        { " ", "pw", nullptr, nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user + std::string("/") + c.password);
        ConnectDialog dialog({ "carol", "secret", false }, page);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QStringList told;
        dialog.setWarning([&told](const QString& text) { told << text; });
        dialog.userEdit()->setText(QString::fromUtf8(c.user));
        dialog.passwordEdit()->setText(QString::fromUtf8(c.password));
        dialog.okButton()->click();
        if (c.message) {
            EXPECT_EQ(told, QStringList { QString::fromUtf8(c.message) });
            EXPECT_EQ(dialog.result(), 0);
            EXPECT_TRUE(dialog.isVisible());
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromUtf8(c.focus));
        } else {
            EXPECT_TRUE(told.isEmpty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
        }
    }
}

TEST(ConnectDialog, ShowsItsFillAndReturnsWhatWasTyped)
{
    ConnectDialog dialog({ "\x83\x65\x83\x58\x83\x67", "pw", true }, page); // テスト in CP932
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ネットワークへの接続"));
    EXPECT_EQ(dialog.userEdit()->text(), QString::fromUtf8("テスト"));
    EXPECT_EQ(dialog.passwordEdit()->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(dialog.saveBox()->isChecked());
    EXPECT_EQ(dialog.saveBox()->text(), QString::fromUtf8("ユーザー名とパスワードを保存する"));
    dialog.passwordEdit()->setText(QStringLiteral("new"));
    dialog.saveBox()->setChecked(false);
    EXPECT_EQ(dialog.fields(), (LoginFields { "\x83\x65\x83\x58\x83\x67", "new", false }));
}

TEST(ConnectDialog, RegistrationOpensThePageAndStaysOpen)
{
    ConnectDialog dialog({}, page);
    dialog.show();
    std::vector<QUrl> opened;
    dialog.setBrowser([&opened](const QUrl& url) { opened.push_back(url); });
    EXPECT_EQ(dialog.registerButton()->text(), QString::fromUtf8("ユーザ登録"));
    dialog.registerButton()->click();
    EXPECT_EQ(opened, std::vector<QUrl> { page });
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
}

TEST(NetworkSettingsDialog, HoldsTheDescriptionAndTheBell)
{
    NetworkSettingsDialog dialog("my pc", true);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ネットワークプロフィールの設定"));
    EXPECT_EQ(dialog.descriptionEdit()->text(), QStringLiteral("my pc"));
    EXPECT_TRUE(dialog.bell());
    dialog.descriptionEdit()->setText(QString(200, QLatin1Char('x')));
    EXPECT_EQ(dialog.description(), std::string(128, 'x'));
    dialog.bellBox()->setChecked(false);
    EXPECT_FALSE(dialog.bell());
}

} // namespace
