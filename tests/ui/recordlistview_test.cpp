#include "runningprogram.h"

#include "board/notation.h"
#include "records/gamerecord.h"
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
    EXPECT_TRUE(QTest::qWaitFor([this] { return list().isEditingLabel(); }, 5000));
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

TEST_F(RecordListTest, CopyPutsTheMovesAsPlayedOnTheSystemClipboardOneRecordALine)
{
    const int a = newFolder(0, 0, "A");
    // C4E3 and D3C5 are stored turned to start at F5; the clipboard gets them as played.
    for (const char* moves : { "F5D6C3", "c4e3", "D3C5F6F5" })
        ops().importLine(0, 0, moves);
    show(ownRoot);
    QApplication::clipboard()->setText("old text");

    selectRows({ 0, 1, 2, 3 });
    ASSERT_TRUE(m_frame->dispatch(CommandId::EditCopy, &list()));
    EXPECT_EQ(QApplication::clipboard()->text(), u("F5D6C3\r\nC4E3\r\nD3C5F6F5"));
    const InternalClipboard& clip = m_app.internalClipboard();
    EXPECT_EQ(clip.mode, InternalClipboard::copy);
    EXPECT_EQ(clip.sourceCollection, 0);
    EXPECT_EQ(clip.sourceFolder, 0);
    EXPECT_EQ(clip.items.size(), 4u);
    EXPECT_EQ(clip.items.front(), folderItem(a));
    EXPECT_EQ(clip.text, "F5D6C3\r\nC4E3\r\nD3C5F6F5");

    // Folders only: the system clipboard is emptied, and so is the text kept.
    selectRows({ 0 });
    ASSERT_TRUE(m_frame->dispatch(CommandId::CopyFolder, &list()));
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
    EXPECT_TRUE(clip.text.empty());
    EXPECT_EQ(clip.items, std::vector<ItemRef>({ folderItem(a) }));
}

TEST_F(RecordListTest, CutRowsStayMarkedUntilPastedOrCopiedAgain)
{
    const int a = newFolder(0, 0, "A");
    newRecord(0, 0, "r0");
    newRecord(0, 0, "r1");
    show(ownRoot);
    RecordListModel& model = list().listModel();
    const auto marked = [&model] {
        std::vector<int> rows;
        for (int r = 0; r < model.rowCount(); ++r) {
            if (model.data(model.index(r, 0), Qt::ForegroundRole).value<QColor>() == Qt::gray)
                rows.push_back(r);
        }
        return rows;
    };

    selectRows({ 1, 2 });
    ASSERT_TRUE(m_frame->dispatch(CommandId::CutItems, &list()));
    EXPECT_EQ(m_app.internalClipboard().mode, InternalClipboard::cut);
    EXPECT_EQ(marked(), std::vector<int>({ 1, 2 }));
    // Still marked when the folder comes back.
    show({ 0, a });
    EXPECT_TRUE(marked().empty());
    show(ownRoot);
    EXPECT_EQ(marked(), std::vector<int>({ 1, 2 }));
    // A new copy takes the mark off.
    selectRows({ 1 });
    m_frame->dispatch(CommandId::EditCopy, &list());
    EXPECT_TRUE(marked().empty());

    // Cut and pasted: moved once, the mark and the items gone.
    selectRows({ 1, 2 });
    m_frame->dispatch(CommandId::EditCut, &list());
    show({ 0, a });
    ASSERT_TRUE(m_frame->dispatch(CommandId::EditPaste, &list()));
    EXPECT_EQ(listNames(), QStringList({ "r0", "r1" }));
    EXPECT_FALSE(m_app.internalClipboard().holdsItems());
    show(ownRoot);
    EXPECT_EQ(listNames(), QStringList({ "A" }));
    EXPECT_TRUE(marked().empty());
}

TEST_F(RecordListTest, CopyCutAndPasteEnablingByFolder)
{
    newRecord(0, 0, "mine");
    newRecord(yahooCollection, 0, "captured");
    CollectionTree& network = collection(networkCollection);
    const int computer = network.addFolder(0, "bob", 0);
    const int share = network.addFolder(computer, "games", 0);
    network.addRecord(share, newNamedRecord("theirs"));
    tree().insertFolder({ networkCollection, computer });
    newRecord(0, 0, "gone");
    selectRows({ 1 });
    m_frame->dispatch(CommandId::DeleteItems, &list());

    struct Case {
        FolderKey folder;
        bool selected;
        bool copy, cut, paste;
    };
    const Case cases[] = {
        { ownRoot, true, true, true, true },
        { ownRoot, false, false, false, true },
        { { yahooCollection, 0 }, true, true, true, false },
        { trashRoot, true, false, false, false },
        { { networkCollection, 0 }, true, false, false, false },
        { { networkCollection, share }, true, true, false, false },
    };
    for (const Case& c : cases) {
        show(c.folder);
        ASSERT_GT(list().listModel().rowCount(), 0);
        if (c.selected)
            selectRows({ 0 });
        else
            list().clearSelection();
        const auto enabled
            = [this](CommandId id) { return m_frame->commandState(id, &list()).enabled; };
        SCOPED_TRACE(testing::Message() << c.folder.collection << "/" << c.folder.folder);
        for (CommandId id : { CommandId::EditCopy, CommandId::CopyItems, CommandId::CopyFolder })
            EXPECT_EQ(enabled(id), c.copy);
        for (CommandId id : { CommandId::EditCut, CommandId::CutItems, CommandId::CutFolder })
            EXPECT_EQ(enabled(id), c.cut);
        EXPECT_EQ(enabled(CommandId::EditPaste), c.paste);
    }
}

TEST_F(RecordListTest, TextFromAnotherProgramPastesAsRecords)
{
    const int a = newFolder(0, 0, "A");
    QApplication::clipboard()->setText(u("F5D6C3D3\r\nc4e3f6\n\n"));
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(m_frame, &activate);
    show({ 0, a });
    ASSERT_TRUE(m_frame->dispatch(CommandId::EditPaste, &list()));
    const auto& filed = collection(0).folder(a).records;
    ASSERT_EQ(filed.size(), 2u);
    EXPECT_EQ(movesToText(playedMoves(collection(0).record(filed[0]))), "F5D6C3D3");
    EXPECT_EQ(movesToText(playedMoves(collection(0).record(filed[1]))), "C4E3F6");
    EXPECT_EQ(listNames().size(), 2);
    // The whole text went in: pasting again adds nothing.
    m_frame->dispatch(CommandId::EditPaste, &list());
    EXPECT_EQ(collection(0).folder(a).records.size(), 2u);
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
            u("KAフォーマットで保存"), u("プロパティ(&R)") }));
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
