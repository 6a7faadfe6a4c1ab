#include "runningprogram.h"

#include "ui/internalclipboard.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QScrollBar>

namespace {

class RecordListTest : public RunningProgram {
protected:
    // Selects exactly these rows of the list.
    void selectRows(std::initializer_list<int> rows)
    {
        list().clearSelection();
        for (int row : rows)
            list().selectionModel()->select(list().listModel().index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QStringList listPopup(CommandId choose = CommandId::None)
    {
        return popup([this] { list().openContextMenu(QPoint(5, 5)); }, choose);
    }
    void show(FolderKey key) { tree().select(key); }
};

const FolderKey ownRoot { myRecordsCollection, 0 };
const FolderKey trashRoot { trashCollection, 0 };

TEST_F(RecordListTest, NewFolderAndRecordStartTheirLabelEditor)
{
    newFolder(0, 0, "新しいフォルダ");
    show(ownRoot);
    ASSERT_TRUE(m_frame->dispatch(CommandId::NewFolder, &list()));
    EXPECT_EQ(listNames(), QStringList({ u("新しいフォルダ"), u("新しいフォルダ(2)") }));
    EXPECT_TRUE(list().isEditingLabel());
    EXPECT_EQ(list().selectedRowNumbers(), std::vector<int>({ 1 }));
    typeLabel(list(), u("棋譜"));
    EXPECT_EQ(listNames(), QStringList({ u("新しいフォルダ"), u("棋譜") }));
    // The tree keeps its own order, by the names' bytes.
    EXPECT_EQ(treeChildren(ownRoot), QStringList({ u("棋譜"), u("新しいフォルダ") }));

    ASSERT_TRUE(m_frame->dispatch(CommandId::NewRecord, &list()));
    EXPECT_EQ(listNames().last(), u("新しい棋譜"));
    EXPECT_TRUE(list().isEditingLabel());
    QLineEdit* editor = openEditor(list());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(list().isEditingLabel());
}

TEST_F(RecordListTest, RenameRefusesTakenNamesAndKeepsTheRowInPlace)
{
    newFolder(0, 0, "dir");
    newRecord(0, 0, "one");
    newRecord(0, 0, "two");
    show(ownRoot);

    list().startRename(1);
    ASSERT_TRUE(list().isEditingLabel());
    typeLabel(list(), "dir");
    ASSERT_EQ(m_prompter.calls().size(), 1u);
    EXPECT_EQ(m_prompter.last().title, u("棋譜名またはフォルダ名の変更 エラー"));
    EXPECT_EQ(m_prompter.last().text,
        u("指定された棋譜名またはフォルダ名は既に存在します。別の名前を指定して下さい。"));
    EXPECT_TRUE(list().isEditingLabel());

    typeLabel(list(), "one"); // its own name: nothing happens
    EXPECT_EQ(m_prompter.calls().size(), 1u);
    EXPECT_FALSE(list().isEditingLabel());

    list().startRename(1);
    typeLabel(list(), "uno");
    EXPECT_EQ(listNames(), QStringList({ "dir", "uno", "two" }));
    list().startRename(0);
    typeLabel(list(), "folder");
    EXPECT_EQ(listNames(), QStringList({ "folder", "uno", "two" }));
    EXPECT_EQ(treeChildren(ownRoot), QStringList({ "folder" }));
    EXPECT_EQ(m_prompter.calls().size(), 1u);
}

TEST_F(RecordListTest, NoRenamingInTheTrashOrTheNetwork)
{
    settings().delconfirm = 0;
    ops().deleteFolder(0, newFolder(0, 0, "gone"));
    show(trashRoot);
    ASSERT_EQ(listNames(), QStringList({ "gone" }));
    list().startRename(0);
    EXPECT_FALSE(list().isEditingLabel());
    EXPECT_FALSE(m_frame->commandState(CommandId::NewFolder, &list()).enabled);

    const int computer = collection(networkCollection).addFolder(0, "bob", 0);
    tree().insertFolder({ networkCollection, computer });
    show({ networkCollection, 0 });
    list().startRename(0);
    EXPECT_FALSE(list().isEditingLabel());
    // The Delete key and 削除 do nothing there.
    selectRows({ 0 });
    QTest::keyClick(&list(), Qt::Key_Delete);
    EXPECT_FALSE(m_frame->commandState(CommandId::DeleteItems, &list()).enabled);
    EXPECT_EQ(listNames(), QStringList({ "bob" }));
    EXPECT_TRUE(m_prompter.calls().empty());
}

TEST_F(RecordListTest, DeleteAsksAndSelectsTheRowThatTakesThePlace)
{
    for (const char* name : { "r0", "r1", "r2", "r3", "r4" })
        newRecord(0, 0, name);
    show(ownRoot);

    selectRows({ 1, 2 });
    ASSERT_TRUE(m_frame->dispatch(CommandId::DeleteItems, &list()));
    EXPECT_EQ(m_prompter.last().title, u("複数棋譜の削除の確認"));
    EXPECT_EQ(m_prompter.last().text, u("これらの 2 個の棋譜をごみ箱に移動してもよろしいですか?"));
    EXPECT_EQ(listNames(), QStringList({ "r0", "r3", "r4" }));
    EXPECT_EQ(list().selectedRowNumbers(), std::vector<int>({ 1 }));

    // The Delete key acts on release; deleting the last row selects the new last one.
    selectRows({ 2 });
    QTest::keyClick(&list(), Qt::Key_Delete);
    EXPECT_EQ(m_prompter.last().title, u("棋譜の削除の確認"));
    EXPECT_EQ(m_prompter.last().text, u("棋譜 'r4' をごみ箱に移動してもよろしいですか?"));
    EXPECT_EQ(listNames(), QStringList({ "r0", "r3" }));
    EXPECT_EQ(list().selectedRowNumbers(), std::vector<int>({ 1 }));

    // "いいえ" keeps everything.
    m_prompter.answer(false);
    selectRows({ 0 });
    QTest::keyClick(&list(), Qt::Key_Delete);
    EXPECT_EQ(listNames(), QStringList({ "r0", "r3" }));
    EXPECT_EQ(collection(trashCollection).folder(0).records.size(), 3u);
}

TEST_F(RecordListTest, AClickOnTheSelectedRowLeavesTheDeleteKeyWorking)
{
    for (const char* name : { "r0", "r1", "r2" })
        newRecord(0, 0, name);
    show(ownRoot);
    const auto clickRow = [this](int row) {
        const QRect r = list().visualRect(list().listModel().index(row, 1));
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, r.center());
    };

    selectRows({ 1 });
    clickRow(1);
    // The rename waits for the double-click time; until then there is no editor.
    EXPECT_FALSE(list().isEditingLabel());
    QTest::keyClick(&list(), Qt::Key_Delete);
    EXPECT_EQ(listNames(), QStringList({ "r0", "r2" }));

    selectRows({ 1 });
    clickRow(1);
    QTest::qWait(QApplication::doubleClickInterval() + 200);
    ASSERT_TRUE(list().isEditingLabel());
    QTest::keyClick(openEditor(list()), Qt::Key_Escape);
    EXPECT_FALSE(list().isEditingLabel());
    QTest::keyClick(&list(), Qt::Key_Delete);
    EXPECT_EQ(listNames(), QStringList({ "r0" }));
}

TEST_F(RecordListTest, ADoubleClickOnTheSelectedRecordNeverRenamesIt)
{
    newRecord(0, 0, "r0");
    show(ownRoot);
    selectRows({ 0 });
    // Whatever opening the record shows is closed once the double-click time has passed.
    QTimer::singleShot(QApplication::doubleClickInterval() + 200, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    const QRect r = list().visualRect(list().listModel().index(0, 1));
    // As the system delivers it: press, release, press, double click, release.
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseRelease(list().viewport(), Qt::LeftButton, {}, r.center());
    QTest::qWait(QApplication::doubleClickInterval() + 300);
    EXPECT_FALSE(list().isEditingLabel());
    EXPECT_EQ(openEditor(list()), nullptr);
}

TEST_F(RecordListTest, AnotherFolderIsShownFromItsTop)
{
    const int a = newFolder(0, 0, "A");
    const int b = newFolder(0, 0, "B");
    for (int i = 0; i < 150; ++i) {
        newRecord(0, a, "a");
        newRecord(0, b, "b");
    }
    show({ 0, a });
    list().scrollToBottom();
    const int bottom = list().verticalScrollBar()->value();
    ASSERT_GT(bottom, 0);
    list().refresh();
    EXPECT_EQ(list().verticalScrollBar()->value(), bottom);
    show({ 0, b });
    EXPECT_EQ(list().verticalScrollBar()->value(), 0);
}

TEST_F(RecordListTest, NamesOutsideCodePage932AreRefusedNamingTheCharacters)
{
    newRecord(0, 0, "r0");
    show(ownRoot);
    struct Case {
        const char* typed;
        const char* refused; // the characters named; empty when the name is taken
    };
    const Case cases[] = {
        { "\u00e9t\u00e9", "U+00E9" },
        { "a\U0001F600b\u00df", "U+1F600 U+00DF" },
        { "?", "" },
        { "棋譜①ｶﾅ～", "" },
    };
    for (const Case& c : cases) {
        m_prompter.clear();
        list().startRename(0);
        typeLabel(list(), u(c.typed));
        if (*c.refused) {
            ASSERT_FALSE(m_prompter.calls().empty()) << c.typed;
            EXPECT_EQ(m_prompter.last().text,
                u("棋譜名及びフォルダ名には次の文字は使えません。\r\n　　　　") + u(c.refused));
            EXPECT_TRUE(list().isEditingLabel());
            QTest::keyClick(openEditor(list()), Qt::Key_Escape);
        } else {
            EXPECT_TRUE(m_prompter.calls().empty()) << c.typed;
            EXPECT_EQ(listNames(), QStringList({ u(c.typed) }));
        }
    }
}

TEST_F(RecordListTest, DeletingInTheTrashIsForGoodAndAlwaysAsks)
{
    settings().delconfirm = 0;
    for (const char* name : { "a", "b", "c" })
        newRecord(0, 0, name);
    show(ownRoot);
    selectRows({ 0, 1, 2 });
    m_frame->dispatch(CommandId::DeleteItems, &list());
    EXPECT_TRUE(m_prompter.calls().empty());
    EXPECT_TRUE(listNames().isEmpty());

    show(trashRoot);
    ASSERT_EQ(listNames(), QStringList({ "a", "b", "c" }));
    selectRows({ 0, 1, 2 });
    EXPECT_EQ(listPopup(CommandId::DeleteForGood),
        QStringList({ u("削除(&D)"), u("プロパティ(&R) (grayed)") }));
    EXPECT_EQ(m_prompter.last().text, u("これらの 3 個の棋譜を削除してもよろしいですか?"));
    EXPECT_TRUE(listNames().isEmpty());
    EXPECT_TRUE(ops().trashIsEmpty());
}

TEST_F(RecordListTest, ColumnClicksToggleWithinOneLayout)
{
    newRecord(0, 0, "b");
    newRecord(0, 0, "a");
    newRecord(0, 0, "c");
    show(ownRoot);
    list().sortByColumn(0);
    EXPECT_EQ(listNames(), QStringList({ "a", "b", "c" }));
    list().sortByColumn(0);
    EXPECT_EQ(listNames(), QStringList({ "c", "b", "a" }));
    EXPECT_TRUE(list().sortDescending());
    list().sortByColumn(1);
    EXPECT_FALSE(list().sortDescending());
    list().sortByColumn(0);
    EXPECT_EQ(listNames(), QStringList({ "a", "b", "c" }));

    // Coming back shows the stored order; the same column in another layout starts afresh.
    show(trashRoot);
    show(ownRoot);
    EXPECT_EQ(listNames(), QStringList({ "b", "a", "c" }));
    list().sortByColumn(0);
    EXPECT_TRUE(list().sortDescending());
    show(trashRoot);
    list().sortByColumn(0);
    EXPECT_FALSE(list().sortDescending());

    // A click on the title does the same.
    show(ownRoot);
    const QHeaderView* header = list().header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
        QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
    EXPECT_EQ(listNames(), QStringList({ "a", "b", "c" }));
}

TEST_F(RecordListTest, ColumnsAreRebuiltOnlyWhenTheLayoutChanges)
{
    const int a = newFolder(0, 0, "A");
    show(ownRoot);
    QHeaderView* header = list().header();
    const auto widths = [header] {
        QList<int> w;
        for (int i = 0; i < header->count(); ++i)
            w << header->sectionSize(i);
        return w;
    };
    // The time columns are as wide as designed, or wider where the font needs it.
    const int timeText = list().fontMetrics().horizontalAdvance("00/00/00 00:00:00");
    const int time = std::max(104, header->sectionSize(5));
    EXPECT_GT(time, timeText);
    EXPECT_EQ(widths(), QList<int>({ 108, 80, 80, 64, 64, time }));
    header->resizeSection(0, 150);
    show({ 0, a });
    EXPECT_EQ(header->sectionSize(0), 150);
    show(trashRoot);
    const int trashTime = std::max(108, header->sectionSize(1));
    EXPECT_GT(trashTime, timeText);
    EXPECT_EQ(widths(), QList<int>({ 108, trashTime, 80, 80, 64, 64, time }));
    show({ networkCollection, 0 });
    EXPECT_EQ(widths(), QList<int>({ 108, 256 }));
    show(ownRoot);
    EXPECT_EQ(header->sectionSize(0), 108);
}

TEST_F(RecordListTest, PopupsBySituation)
{
    const int a = newFolder(0, 0, "A");
    newRecord(0, 0, "rec");
    newRecord(0, 0, "rec2");
    show(ownRoot);

    list().clearSelection();
    EXPECT_EQ(listPopup(),
        QStringList({ u("親フォルダへ移動(&P) (grayed)"), u("貼り付け(&P)"), u("新規フォルダ(&F)"),
            u("新規棋譜(&K)"), u("プロパティ(&R)") }));
    selectRows({ 1 });
    EXPECT_EQ(listPopup(),
        QStringList({ u("開く(&O)"), u("編集(&E)"), u("切り取り(&T)"), u("コピー(&C)"),
            u("削除(&D)"), u("名前の変更(&M)"), u("プロパティ(&P)") }));
    selectRows({ 0 });
    EXPECT_EQ(listPopup(),
        QStringList({ u("開く(&O)"), u("検索(&F)..."), u("共有(&S)..."), u("切り取り(&T)"),
            u("コピー(&C)"), u("貼り付け(&P) (grayed)"), u("削除(&D)"), u("名前の変更(&M)"),
            u("KAフォーマットで保存 (grayed)"), u("プロパティ(&R)") }));
    selectRows({ 0, 1, 2 });
    EXPECT_EQ(listPopup(),
        QStringList({ u("切り取り(&T)"), u("コピー(&C)"), u("削除(&D)"), u("プロパティ(&P)") }));

    show({ 0, a });
    list().clearSelection();
    EXPECT_EQ(listPopup().first(), u("親フォルダへ移動(&P)"));
    show({ yahooCollection, 0 });
    EXPECT_EQ(listPopup(),
        QStringList({ u("開く(&O)"), u("棋譜採り開始(&S)"), u("棋譜採り終了(&E) (grayed)"),
            u("プロパティ(&R)") }));
    show(trashRoot);
    EXPECT_EQ(listPopup(),
        QStringList(
            { u("開く(&O) (grayed)"), u("ごみ箱を空にする(&B) (grayed)"), u("プロパティ(&P)") }));

    CollectionTree& network = collection(networkCollection);
    const int computer = network.addFolder(0, "bob", 0);
    const int share = network.addFolder(computer, "games", 0);
    network.addRecord(share, newNamedRecord("remote"));
    tree().insertFolder({ networkCollection, computer });
    show({ networkCollection, 0 });
    EXPECT_EQ(
        listPopup(), QStringList({ u("接続(&C)"), u("切断(&D) (grayed)"), u("プロパティ(&P)") }));
    selectRows({ 0 });
    EXPECT_EQ(listPopup(), QStringList({ u("開く(&O)"), u("チャット(&C)"), u("プロパティ(&P)") }));
    show({ networkCollection, share });
    list().clearSelection();
    EXPECT_EQ(listPopup(),
        QStringList({ u("親フォルダへ移動(&P)"), u("最新の情報に更新(&E)"), u("プロパティ(&R)") }));
    selectRows({ 0 });
    EXPECT_EQ(listPopup(),
        QStringList(
            { u("開く(&O)"), u("編集(&E) (grayed)"), u("切り取り(&T) (grayed)"), u("コピー(&C)"),
                u("削除(&D) (grayed)"), u("名前の変更(&M) (grayed)"), u("プロパティ(&P)") }));
}

TEST_F(RecordListTest, OpeningFoldersGoesThroughTheTree)
{
    const int a = newFolder(0, 0, "A");
    const int b = newFolder(0, a, "B");
    show(ownRoot);
    selectRows({ 0 });
    listPopup(CommandId::OpenFolder);
    EXPECT_EQ(tree().selectedFolder(), (FolderKey { 0, a }));
    EXPECT_EQ(list().shownFolder(), (FolderKey { 0, a }));

    const QRect row = list().visualRect(list().listModel().index(0, 0));
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(list().shownFolder(), (FolderKey { 0, b }));

    ASSERT_TRUE(m_frame->dispatch(CommandId::ParentFolder, &list()));
    EXPECT_EQ(list().shownFolder(), (FolderKey { 0, a }));
    m_frame->dispatch(CommandId::ParentFolder, &list());
    EXPECT_EQ(list().shownFolder(), ownRoot);
    EXPECT_FALSE(m_frame->dispatch(CommandId::ParentFolder, &list()));
}

TEST_F(RecordListTest, SelectAllAndRefresh)
{
    newFolder(0, 0, "A");
    newRecord(0, 0, "r");
    show(ownRoot);
    m_frame->activateNextPane(true);
    ASSERT_EQ(m_frame->activePane(), &list());
    QTest::keyClick(m_frame, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(list().selectedRowNumbers(), std::vector<int>({ 0, 1 }));

    // A record added behind the list's back shows up on refresh.
    collection(0).addRecord(0, newNamedRecord("quiet"));
    EXPECT_EQ(listNames().size(), 2);
    m_frame->dispatch(CommandId::Refresh, &list());
    EXPECT_EQ(listNames(), QStringList({ "A", "r", "quiet" }));
}

TEST_F(RecordListTest, PasteIntoTheShownFolder)
{
    const int a = newFolder(0, 0, "A");
    const int b = newFolder(0, 0, "B");
    tree().select({ 0, a });
    m_frame->dispatch(CommandId::EditCopy, &tree());
    show({ 0, b });
    EXPECT_TRUE(m_frame->commandState(CommandId::EditPaste, &list()).enabled);
    m_frame->dispatch(CommandId::EditPaste, &list());
    EXPECT_EQ(listNames(), QStringList({ "A" }));

    // Text of moves becomes records.
    InternalClipboard& clip = m_app.internalClipboard();
    clip.reset();
    clip.text = "F5D6C3\r\nE6F4";
    m_frame->dispatch(CommandId::EditPaste, &list());
    EXPECT_EQ(listNames(), QStringList({ "A", u("インポート棋譜"), u("インポート棋譜(2)") }));
    EXPECT_TRUE(clip.text.empty());

    show({ yahooCollection, 0 });
    EXPECT_FALSE(m_frame->commandState(CommandId::EditPaste, &list()).enabled);
}

TEST_F(RecordListTest, RowsFollowTheLibrary)
{
    QAbstractItemModelTester tester(
        &list().listModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    const int a = newFolder(0, 0, "A");
    const int r = newRecord(0, 0, "r");
    newRecord(0, a, "elsewhere");
    EXPECT_EQ(listNames(), QStringList({ "A", "r" }));
    ops().renameFolder(0, a, "AA");
    ops().setShare(0, a, std::string("s"), "c");
    EXPECT_EQ(listNames(), QStringList({ "AA", "r" }));
    list().updateRecordRow(r);
    EXPECT_EQ(listNames(), QStringList({ "AA", "r" }));
    settings().delconfirm = 0;
    ops().deleteRecord(0, r);
    EXPECT_EQ(listNames(), QStringList({ "AA" }));
    ops().deleteFolder(0, a);
    EXPECT_TRUE(listNames().isEmpty());
}

} // namespace
