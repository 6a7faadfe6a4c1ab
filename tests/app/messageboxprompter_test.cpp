#include "app/messageboxprompter.h"
#include "platform/sjis.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Seen {
    QString title;
    QString text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

TEST(MessageBoxPrompter, QuestionsHaveYesAndNo)
{
    MessageBoxPrompter prompter;
    const std::string title = toSjis(QString::fromUtf8("フォルダの削除の確認"));
    const std::string text = toSjis(QString::fromUtf8("フォルダ 'A' を削除してもよろしいですか?"));
    for (const char* press : { "はい", "いいえ" }) {
        Seen seen;
        QTimer::singleShot(0, [&seen, press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen.title = box->windowTitle();
            seen.text = box->text();
            seen.icon = box->icon();
            for (QAbstractButton* b : box->buttons()) {
                seen.buttons << b->text();
                if (b->text() == QString::fromUtf8(press))
                    b->click();
            }
        });
        const bool yes = prompter.confirm(title, text);
        EXPECT_EQ(yes, QString::fromUtf8(press) == QString::fromUtf8("はい"));
        EXPECT_EQ(seen.title, QString::fromUtf8("フォルダの削除の確認"));
        EXPECT_EQ(seen.text, QString::fromUtf8("フォルダ 'A' を削除してもよろしいですか?"));
        EXPECT_EQ(seen.buttons.size(), 2);
        EXPECT_TRUE(seen.buttons.contains(QString::fromUtf8("はい")));
        EXPECT_TRUE(seen.buttons.contains(QString::fromUtf8("いいえ")));
    }
}

TEST(MessageBoxPrompter, ErrorsHaveTheStopIconAndOk)
{
    MessageBoxPrompter prompter;
    Seen seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.icon = box->icon();
        seen.buttons << QString::number(box->buttons().size());
        box->accept();
    });
    prompter.showError("title", "text");
    EXPECT_EQ(seen.title, "title");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QStringList({ "1" }));
}

TEST(MessageBoxPrompter, RetryOrQuit)
{
    MessageBoxPrompter prompter;
    for (const char* press : { "再試行(&R)", "保存しないで終了(&Q)" }) {
        QTimer::singleShot(0, [press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == QString::fromUtf8(press))
                    b->click();
            }
        });
        EXPECT_EQ(prompter.retry("t", "x"), QString::fromUtf8(press).startsWith("再"));
    }
}

} // namespace
