#include "../app/testsession.h"

#include "app/pavioneapp.h"
#include "net/notices.h"
#include "ui/foldertreeview.h"
#include "ui/mainwindow.h"
#include "ui/trashpropertiesdialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

// A window that counts the ticks it hears.
class TickCounter final : public ProtocolListener {
public:
    int32_t onTick(const TickNotice&, int32_t) override
    {
        ++ticks;
        return noticeHandled;
    }
    int ticks = 0;

protected:
    bool initDialog() override { return true; }
};

class FrameWindowsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_app.start(m_session.arguments()));
        m_frame = m_app.mainFrame();
    }

    TrashPropertiesDialog* openTrash()
    {
        m_frame->openTrashProperties();
        return trashWindow();
    }
    TrashPropertiesDialog* trashWindow() const
    {
        TrashPropertiesDialog* found = nullptr;
        for (int32_t i = 0; i < m_frame->windows().count(); ++i) {
            if (auto* w = dynamic_cast<TrashPropertiesDialog*>(m_frame->windows().at(i)))
                found = w;
        }
        return found;
    }
    static void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    TestSession m_session;
    PavioneApp m_app;
    MainWindow* m_frame = nullptr;
};

TEST_F(FrameWindowsTest, TrashWindowShowsItsTitleAndBoxes)
{
    TrashPropertiesDialog* dialog = openTrash();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("ごみ箱のプロパティ"));
    EXPECT_EQ(dialog->deleteForceBox()->text(),
        QString::fromUtf8("ごみ箱にファイルを移動しないで、削除と同時に棋譜を消す"));
    EXPECT_EQ(
        dialog->deleteConfirmBox()->text(), QString::fromUtf8("削除の確認メッセージを表示する"));
    EXPECT_EQ(dialog->okButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog->cancelButton()->text(), QString::fromUtf8("キャンセル"));
    // The defaults: deleting moves to the trash, and asks first.
    EXPECT_FALSE(dialog->deleteForceBox()->isChecked());
    EXPECT_TRUE(dialog->deleteConfirmBox()->isChecked());
    // Every control lies inside the window.
    for (QWidget* control : { static_cast<QWidget*>(dialog->deleteForceBox()),
             static_cast<QWidget*>(dialog->deleteConfirmBox()),
             static_cast<QWidget*>(dialog->okButton()),
             static_cast<QWidget*>(dialog->cancelButton()) })
        EXPECT_TRUE(dialog->rect().contains(control->geometry()));
}

TEST_F(FrameWindowsTest, OkStoresBothSettingsAndCloses)
{
    struct Case {
        int delforce;
        int delconfirm;
        bool force;
        bool confirm;
    };
    for (const Case c : { Case { 0, 1, true, false }, Case { 1, 0, false, true },
             Case { 7, 0, true, true }, Case { 1, 1, false, false } }) {
        m_app.settings().delforce = c.delforce;
        m_app.settings().delconfirm = c.delconfirm;
        QPointer<TrashPropertiesDialog> dialog = openTrash();
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->deleteForceBox()->isChecked(), c.delforce != 0);
        EXPECT_EQ(dialog->deleteConfirmBox()->isChecked(), c.delconfirm != 0);
        dialog->deleteForceBox()->setChecked(c.force);
        dialog->deleteConfirmBox()->setChecked(c.confirm);
        dialog->okButton()->click();
        EXPECT_EQ(m_app.settings().delforce, c.force ? 1 : 0);
        EXPECT_EQ(m_app.settings().delconfirm, c.confirm ? 1 : 0);
        settle();
        EXPECT_FALSE(dialog);
        EXPECT_EQ(m_frame->windows().count(), 0);
    }
}

TEST_F(FrameWindowsTest, CancelClosesWithoutStoring)
{
    QPointer<TrashPropertiesDialog> dialog = openTrash();
    ASSERT_TRUE(dialog);
    dialog->deleteForceBox()->setChecked(true);
    dialog->deleteConfirmBox()->setChecked(false);
    dialog->cancelButton()->click();
    settle();
    EXPECT_FALSE(dialog);
    EXPECT_EQ(m_app.settings().delforce, 0);
    EXPECT_EQ(m_app.settings().delconfirm, 1);
}

TEST_F(FrameWindowsTest, StoredSettingsAreWrittenAtExit)
{
    TrashPropertiesDialog* dialog = openTrash();
    ASSERT_NE(dialog, nullptr);
    dialog->deleteForceBox()->setChecked(true);
    dialog->deleteConfirmBox()->setChecked(false);
    dialog->okButton()->click();
    // Still open at exit is fine too: the frame takes its windows with it.
    m_frame->openTrashProperties();
    m_app.exit();
    const auto stored = m_session.storedSettings();
    EXPECT_EQ(stored->value(QStringLiteral("delforce")).toInt(), 1);
    EXPECT_EQ(stored->value(QStringLiteral("delconfirm")).toInt(), 0);
}

TEST_F(FrameWindowsTest, TrashCommandsOpenOneWindowAndBringItForward)
{
    // ごみ箱の設定 in the menu, and プロパティ of the trash's pop-up in the tree.
    EXPECT_TRUE(m_frame->dispatch(CommandId::TrashSettings));
    TrashPropertiesDialog* dialog = trashWindow();
    ASSERT_NE(dialog, nullptr);
    dialog->showMinimized();
    EXPECT_TRUE(m_frame->dispatch(CommandId::TrashSettings, m_frame->folderTreeView()));
    m_frame->openTrashProperties();
    EXPECT_EQ(m_frame->windows().count(), 1);
    EXPECT_EQ(trashWindow(), dialog);
    EXPECT_FALSE(dialog->isMinimized());
    EXPECT_TRUE(dialog->isVisible());
    // Only the open window claims the query.
    EXPECT_EQ(m_frame->notify(WindowNotice(WindowTrashSettings)), 1);
    EXPECT_EQ(m_frame->notify(WindowNotice(WindowCaptureSettings)), 0);
}

TEST_F(FrameWindowsTest, EveryTickReachesTheOpenWindows)
{
    auto* counter = static_cast<TickCounter*>(m_frame->windows().findOrCreate(
        WindowNotice(WindowTrashSettings), [] { return std::make_unique<TickCounter>(); },
        m_frame));
    ASSERT_NE(counter, nullptr);
    for (int i = 0; i < 9; ++i)
        m_frame->tick();
    EXPECT_EQ(counter->ticks, 9);
    // And the running timer's own ticks.
    QSignalSpy ticks(m_frame, &MainWindow::everyTick);
    ASSERT_TRUE(ticks.wait(1000));
    EXPECT_EQ(counter->ticks, 9 + ticks.count());
    // The trash window is a different kind: it opens beside the counter.
    m_frame->openTrashProperties();
    EXPECT_EQ(m_frame->windows().count(), 2);
    EXPECT_EQ(m_frame->notify(TickNotice()), 1);
}

} // namespace
