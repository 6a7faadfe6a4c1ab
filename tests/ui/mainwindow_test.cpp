#include "../app/testsession.h"

#include "app/pavioneapp.h"
#include "ui/chatpane.h"
#include "ui/connectdialog.h"
#include "ui/foldertreeview.h"
#include "ui/mainwindow.h"
#include "ui/recordlistview.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <map>

namespace {

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_app.start(m_session.arguments()));
        m_frame = m_app.mainFrame();
        QApplication::setActiveWindow(m_frame);
    }

    // Dispatches a command and returns the text of the message box it showed, if any.
    QString dispatchAndReadMessage(CommandId id, CommandTarget* origin = nullptr)
    {
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        m_frame->dispatch(id, origin);
        QApplication::processEvents(); // lets the timer go when no box ran an event loop
        return shown;
    }

    TestSession m_session;
    PavioneApp m_app;
    MainWindow* m_frame = nullptr;
};

// Items as "label|id", separators as "-".
QStringList describe(const QMenu& menu)
{
    QStringList items;
    for (const QAction* a : menu.actions())
        items << (a->isSeparator()
                ? QStringLiteral("-")
                : a->text() + QLatin1Char('|') + QString::number(a->data().toInt()));
    return items;
}

QString notAvailable()
{
    return QString::fromUtf8("この機能はまだ使用できません。");
}

QStringList u(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* t : texts)
        list << QString::fromUtf8(t);
    return list;
}

TEST_F(MainFrameTest, TitleNeverChanges)
{
    EXPECT_EQ(m_frame->windowTitle(), QStringLiteral("Pavione ver.0.30"));
    m_frame->dispatch(CommandId::ViewToolbar);
    m_frame->dispatch(CommandId::CaptureStart);
    EXPECT_EQ(m_frame->windowTitle(), QStringLiteral("Pavione ver.0.30"));
}

TEST_F(MainFrameTest, PanesSitInTheirSplittersAtTheirIdealSizes)
{
    QSplitter* outer = m_frame->outerSplitter();
    QSplitter* inner = m_frame->innerSplitter();
    EXPECT_EQ(m_frame->centralWidget(), outer);
    ASSERT_EQ(outer->count(), 2);
    ASSERT_EQ(inner->count(), 2);
    EXPECT_EQ(outer->orientation(), Qt::Horizontal);
    EXPECT_EQ(inner->orientation(), Qt::Vertical);
    EXPECT_EQ(outer->widget(0), m_frame->folderTreeView());
    EXPECT_EQ(outer->widget(1), inner);
    EXPECT_EQ(inner->widget(0), m_frame->recordListView());
    EXPECT_EQ(inner->widget(1), m_frame->chatPane());
    EXPECT_EQ(outer->sizes(), QList<int>({ 200, 600 }));
    EXPECT_EQ(inner->sizes(), QList<int>({ 220, 420 }));
    EXPECT_EQ(m_frame->folderTreeView()->minimumWidth(), 10);
    EXPECT_EQ(inner->minimumWidth(), 10);
}

TEST_F(MainFrameTest, MenuBarHoldsEveryItemInOrder)
{
    QStringList titles;
    QStringList items;
    for (QAction* top : m_frame->menuBar()->actions()) {
        titles << top->text();
        items << describe(*top->menu());
    }
    EXPECT_EQ(titles, u({ "ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "設定(&S)", "ﾍﾙﾌﾟ(&H)" }));
    EXPECT_EQ(items,
        u({ "開く(&O)...\tCtrl+O|57601", "保存(&S)\tCtrl+S|32790", "-", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)|57665",
            "切り取り(&T)\tCtrl+X|57635", "ｺﾋﾟｰ(&C)\tCtrl+C|57634", "貼り付け(&P)\tCtrl+V|57637",
            "ﾂｰﾙ ﾊﾞｰ(&T)|59392", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)|59393", "Yahoo! Othello の設定(&Y)...|32807",
            "ごみ箱の設定(&D)...|32793", "ネットワークの設定(&N)...|32796",
            "Pavioneのホームページ(&K)...|32817", "-", "ﾊﾞｰｼﾞｮﾝ情報(&A)...|57664" }));
}

TEST_F(MainFrameTest, AcceleratorsAndNoneForCtrlO)
{
    std::map<QString, int> bound;
    for (const QAction* a : m_frame->findChildren<QAction*>()) {
        for (const QKeySequence& keys : a->shortcuts())
            bound[keys.toString(QKeySequence::PortableText)] = a->data().toInt();
    }
    const std::map<QString, int> expected {
        { "Ctrl+A", 32805 },
        { "Ctrl+C", 57634 },
        { "Ctrl+Ins", 57634 },
        { "Ctrl+X", 57635 },
        { "Shift+Del", 57635 },
        { "Ctrl+V", 57637 },
        { "Shift+Ins", 57637 },
        { "Ctrl+S", 32790 },
        { "F6", 57680 },
        { "Shift+F6", 57681 },
    };
    EXPECT_EQ(bound, expected);
}

TEST_F(MainFrameTest, ContextMenusHoldTheirItems)
{
    const std::vector<QStringList> expected {
        u({ "親フォルダへ移動(&P)|32783", "-", "貼り付け(&P)|57637", "-", "新規フォルダ(&F)|32771",
            "新規棋譜(&K)|32772", "-", "プロパティ(&R)|32789" }),
        u({ "開く(&O)|32774", "編集(&E)|32776", "-", "切り取り(&T)|32800", "コピー(&C)|32801", "-",
            "削除(&D)|32775", "名前の変更(&M)|32781", "-", "プロパティ(&P)|32777" }),
        u({ "開く(&O)|32778", "-", "貼り付け(&P)|57637", "-", "削除(&D)|32779",
            "名前の変更(&M)|32780", "-", "プロパティ(&R)|32789" }),
        u({ "開く(&O)|32784", "検索(&F)...|32785", "-", "共有(&S)...|32786", "-",
            "切り取り(&T)|32802", "コピー(&C)|32803", "貼り付け(&P)|32804", "-", "削除(&D)|32787",
            "名前の変更(&M)|32788", "-", "KAフォーマットで保存|32821", "-",
            "プロパティ(&R)|32789" }),
        u({ "開く(&O)|32791", "ごみ箱を空にする(&B)|32792", "-", "プロパティ(&P)|32793" }),
        u({ "接続(&C)|32794", "切断(&D)|32795", "-", "プロパティ(&P)|32796" }),
        u({ "開く(&O)|32797", "チャット(&C)|32799", "-", "プロパティ(&P)|32798" }),
        u({ "切り取り(&T)|32800", "コピー(&C)|32801", "-", "削除(&D)|32775", "-",
            "プロパティ(&P)|32777" }),
        u({ "開く(&O)|32784", "-", "棋譜採り開始(&S)|32808", "棋譜採り終了(&E)|32809", "-",
            "プロパティ(&R)|32807" }),
        u({ "親フォルダへ移動(&P)|32783", "-", "最新の情報に更新(&E)|32814", "-",
            "プロパティ(&R)|32789" }),
        u({ "削除(&D)|32819", "-", "プロパティ(&R)|32820" }),
    };
    ASSERT_EQ(expected.size(), static_cast<size_t>(contextMenuCount));
    for (int i = 0; i < contextMenuCount; ++i) {
        SCOPED_TRACE(i);
        const auto menu
            = m_frame->contextMenu(static_cast<ContextMenu>(i), m_frame->recordListView());
        EXPECT_EQ(describe(*menu), expected[static_cast<size_t>(i)]);
    }
}

TEST_F(MainFrameTest, ToolbarButtonsInOrderWithPictures)
{
    QToolBar* bar = m_frame->toolBar();
    QStringList buttons;
    for (const QAction* a : bar->actions()) {
        if (a->isSeparator()) {
            buttons << "-";
            continue;
        }
        buttons << a->toolTip() + QLatin1Char('|') + QString::number(a->data().toInt());
        EXPECT_FALSE(a->icon().isNull());
    }
    EXPECT_EQ(buttons,
        u({ "保存|32790", "-", "切り取り|57635", "コピー|57634", "貼り付け|57637", "-",
            "棋譜採り開始|32808", "棋譜採り終了|32809" }));
    EXPECT_EQ(bar->iconSize(), QSize(16, 15));
    EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(m_frame->toolBarArea(bar), Qt::TopToolBarArea);
}

TEST_F(MainFrameTest, StatusBarShowsReadyAndTheHelpOfTheItemUnderTheMouse)
{
    auto* message = m_frame->statusBar()->findChild<QLabel*>("messagePane");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->text(), QString::fromUtf8("ﾚﾃﾞｨ"));
    QStringList indicators;
    for (const QLabel* label : m_frame->statusBar()->findChildren<QLabel*>()) {
        if (label != message)
            indicators << label->text();
    }
    EXPECT_EQ(indicators, u({ "カナ", "CAP", "NUM", "SCRL" }));

    QAction* save = m_frame->toolBar()->actions().first();
    save->showStatusText(m_frame);
    EXPECT_EQ(message->text(), QString::fromUtf8("現在の状態をディスクに保存"));
    QStatusTipEvent nothing { QString() };
    QApplication::sendEvent(m_frame, &nothing);
    EXPECT_EQ(message->text(), QString::fromUtf8("ﾚﾃﾞｨ"));
}

TEST_F(MainFrameTest, CaptureCommandsFollowTheCaptureFlag)
{
    const auto toolAction = [this](CommandId id) {
        for (QAction* a : m_frame->toolBar()->actions()) {
            if (a->data().toInt() == static_cast<int>(id))
                return a;
        }
        return static_cast<QAction*>(nullptr);
    };
    EXPECT_FALSE(m_app.captureOn());
    EXPECT_TRUE(toolAction(CommandId::CaptureStart)->isEnabled());
    EXPECT_FALSE(toolAction(CommandId::CaptureStop)->isEnabled());
    EXPECT_FALSE(m_frame->dispatch(CommandId::CaptureStop)); // grayed: does nothing

    EXPECT_TRUE(m_frame->dispatch(CommandId::CaptureStart));
    EXPECT_TRUE(m_app.captureOn());
    EXPECT_FALSE(toolAction(CommandId::CaptureStart)->isEnabled());
    EXPECT_TRUE(toolAction(CommandId::CaptureStop)->isEnabled());
    const auto yahoo = m_frame->contextMenu(ContextMenu::Yahoo, m_frame->folderTreeView());
    for (const QAction* a : yahoo->actions()) {
        if (a->data().toInt() == static_cast<int>(CommandId::CaptureStart)) {
            EXPECT_FALSE(a->isEnabled());
        }
        if (a->data().toInt() == static_cast<int>(CommandId::CaptureStop)) {
            EXPECT_TRUE(a->isEnabled());
        }
    }

    m_app.setCaptureOn(false);
    EXPECT_TRUE(toolAction(CommandId::CaptureStart)->isEnabled());
    EXPECT_FALSE(toolAction(CommandId::CaptureStop)->isEnabled());
}

TEST_F(MainFrameTest, ViewMenuChecksTheVisibleBars)
{
    EXPECT_TRUE(m_frame->commandState(CommandId::ViewToolbar).checked);
    EXPECT_TRUE(m_frame->commandState(CommandId::ViewStatusBar).checked);
    m_frame->dispatch(CommandId::ViewToolbar);
    m_frame->dispatch(CommandId::ViewStatusBar);
    EXPECT_TRUE(m_frame->toolBar()->isHidden());
    EXPECT_TRUE(m_frame->statusBar()->isHidden());
    EXPECT_FALSE(m_frame->commandState(CommandId::ViewToolbar).checked);
    EXPECT_FALSE(m_frame->commandState(CommandId::ViewStatusBar).checked);
    m_frame->dispatch(CommandId::ViewToolbar);
    EXPECT_FALSE(m_frame->toolBar()->isHidden());

    QMenu* view = m_frame->menuBar()->actions().at(2)->menu();
    emit view->aboutToShow();
    EXPECT_TRUE(view->actions().at(0)->isChecked());
    EXPECT_FALSE(view->actions().at(1)->isChecked());
    EXPECT_FALSE(view->actions().at(1)->isCheckable());
}

TEST_F(MainFrameTest, TheFocusedViewHasTheFirstWord)
{
    // Ctrl+A does nothing in the tree; in the list it selects the rows; the chat pane has no use
    // for it, so it is grayed there.
    EXPECT_EQ(m_frame->activePane(), m_frame->folderTreeView());
    EXPECT_TRUE(dispatchAndReadMessage(CommandId::SelectAll).isEmpty());
    m_frame->activateNextPane(true);
    EXPECT_EQ(m_frame->activePane(), m_frame->recordListView());
    EXPECT_TRUE(dispatchAndReadMessage(CommandId::SelectAll).isEmpty());
    EXPECT_FALSE(m_frame->commandState(CommandId::SelectAll, m_frame->chatPane()).enabled);

    // Record properties have an empty handler in the list and none anywhere else.
    EXPECT_TRUE(
        m_frame->commandState(CommandId::RecordProperties, m_frame->recordListView()).enabled);
    EXPECT_TRUE(m_frame->dispatch(CommandId::RecordProperties, m_frame->recordListView()));
    EXPECT_FALSE(
        m_frame->commandState(CommandId::RecordProperties, m_frame->folderTreeView()).enabled);
    EXPECT_FALSE(m_frame->dispatch(CommandId::RecordProperties, m_frame->folderTreeView()));

    // A pop-up's owner goes first, whichever pane has the focus.
    const auto dirMenu = m_frame->contextMenu(ContextMenu::FolderTree, m_frame->folderTreeView());
    EXPECT_TRUE(dispatchAndReadMessage(CommandId::CutFolder, m_frame->folderTreeView()).isEmpty());
    EXPECT_TRUE(dispatchAndReadMessage(CommandId::CutFolder, m_frame->recordListView()).isEmpty());
}

TEST_F(MainFrameTest, LaterCommandsShowNotAvailableYet)
{
    // The windows and connections these open are not part of the program yet.
    for (CommandId id : { CommandId::EditCut, CommandId::EditCopy, CommandId::EditPaste,
             CommandId::Search, CommandId::Share, CommandId::FolderProperties }) {
        SCOPED_TRACE(static_cast<int>(id));
        EXPECT_EQ(dispatchAndReadMessage(id, m_frame->chatPane()), notAvailable());
    }
}

TEST_F(MainFrameTest, FramesOwnCommandsShowNoMessage)
{
    EXPECT_TRUE(dispatchAndReadMessage(CommandId::NextPane).isEmpty());
    EXPECT_TRUE(dispatchAndReadMessage(CommandId::CaptureStart).isEmpty());
    EXPECT_EQ(m_frame->commandState(CommandId::FileNew).enabled, false);
}

TEST_F(MainFrameTest, F6CyclesThroughThePanes)
{
    m_frame->folderTreeView()->setFocus();
    QTest::keyClick(m_frame->folderTreeView(), Qt::Key_F6);
    EXPECT_EQ(m_frame->activePane(), m_frame->recordListView());
    QTest::keyClick(m_frame->recordListView(), Qt::Key_F6);
    EXPECT_EQ(m_frame->activePane(), m_frame->chatPane());
    EXPECT_EQ(QApplication::focusWidget(), m_frame->chatPane()->input());
    QTest::keyClick(m_frame->chatPane()->input(), Qt::Key_F6);
    EXPECT_EQ(m_frame->activePane(), m_frame->folderTreeView());
    QTest::keyClick(m_frame->folderTreeView(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(m_frame->activePane(), m_frame->chatPane());
    QTest::keyClick(m_frame->chatPane()->input(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_EQ(m_frame->activePane(), m_frame->recordListView());
    EXPECT_EQ(QApplication::focusWidget(), m_frame->recordListView());
}

TEST_F(MainFrameTest, ClickingAPaneMakesItActive)
{
    m_frame->chatPane()->transcript()->setFocus();
    EXPECT_EQ(m_frame->activePane(), m_frame->chatPane());
    m_frame->recordListView()->setFocus();
    EXPECT_EQ(m_frame->activePane(), m_frame->recordListView());
}

TEST_F(MainFrameTest, EveryFourthTickRunsTheUpkeep)
{
    QSignalSpy every(m_frame, &MainWindow::everyTick);
    QSignalSpy fourth(m_frame, &MainWindow::everyFourthTick);
    QSignalSpy scan(m_frame, &MainWindow::captureScanDue);
    // The running timer has its own count: compare what these ticks add.
    ASSERT_TRUE(every.wait(1000));
    every.clear();
    fourth.clear();
    for (int i = 0; i < 8; ++i)
        m_frame->tick();
    EXPECT_EQ(every.count(), 8);
    EXPECT_EQ(fourth.count(), 2);
    EXPECT_EQ(scan.count(), 0);
    m_app.setCaptureOn(true);
    for (int i = 0; i < 8; ++i)
        m_frame->tick();
    EXPECT_EQ(fourth.count(), 4);
    EXPECT_EQ(scan.count(), 2);
}

TEST_F(MainFrameTest, ChatPaneStartsOffline)
{
    ChatPane* chat = m_frame->chatPane();
    EXPECT_TRUE(chat->isOffline());
    EXPECT_TRUE(chat->transcript()->isReadOnly());
    EXPECT_TRUE(chat->input()->isReadOnly());
    EXPECT_FALSE(chat->sendButton()->isEnabled());
    EXPECT_FALSE(chat->connectButton()->isHidden());
    EXPECT_EQ(chat->sendButton()->text(), QString::fromUtf8("送信"));
    EXPECT_EQ(chat->connectButton()->text(), QString::fromUtf8("Pavioneﾈｯﾄﾜｰｸに接続"));

    chat->setOffline(false);
    EXPECT_FALSE(chat->transcript()->isReadOnly());
    EXPECT_FALSE(chat->input()->isReadOnly());
    EXPECT_TRUE(chat->sendButton()->isEnabled());
    EXPECT_TRUE(chat->connectButton()->isHidden());
}

TEST_F(MainFrameTest, ConnectButtonGoesThroughTheChatPane)
{
    QString title;
    QTimer::singleShot(0, [&title] {
        if (auto* dialog = qobject_cast<ConnectDialog*>(QApplication::activeModalWidget())) {
            title = dialog->windowTitle();
            dialog->reject();
        }
    });
    m_frame->chatPane()->connectButton()->click();
    EXPECT_EQ(title, QString::fromUtf8("ネットワークへの接続"));
}

TEST_F(MainFrameTest, ChatPaneKeepsDistancesToTheRightAndBottomEdges)
{
    ChatPane* chat = m_frame->chatPane();
    // Take the chat pane out of the splitter so that its size is the test's to set.
    chat->setParent(nullptr);
    chat->resize(500, 400);
    chat->show();
    const QRect transcript = chat->transcript()->geometry();
    const QRect input = chat->input()->geometry();
    const QRect send = chat->sendButton()->geometry();
    const QRect connectButton = chat->connectButton()->geometry();
    chat->resize(600, 450);
    EXPECT_EQ(chat->transcript()->geometry(), transcript.adjusted(0, 0, 100, 50));
    EXPECT_EQ(chat->input()->geometry(), input.adjusted(0, 50, 100, 50));
    EXPECT_EQ(chat->sendButton()->geometry(), send.translated(100, 50));
    EXPECT_EQ(chat->connectButton()->geometry(), connectButton.translated(100, 0));
    delete chat;
}

} // namespace
