#include "runningprogram.h"

#include "ui/connectdialog.h"
#include "ui/internalclipboard.h"

#include "buildpaths.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

namespace {

using FolderTreeTest = RunningProgram;

const FolderKey ownRoot { myRecordsCollection, 0 };
const FolderKey trashRoot { trashCollection, 0 };
const FolderKey yahooRoot { yahooCollection, 0 };
const FolderKey networkRoot { networkCollection, 0 };

TEST_F(FolderTreeTest, FourRootsInTheirOrderAndTheListShowsMyRecords)
{
    EXPECT_EQ(treeChildren({}),
        QStringList({ u("マイ 棋譜集"), u("ごみ箱"), u("Yahoo! Games"), u("ﾈｯﾄﾜｰｸ ｺﾝﾋﾟｭｰﾀ") }));
    for (FolderKey root : { ownRoot, trashRoot, yahooRoot, networkRoot })
        EXPECT_TRUE(treeChildren(root).isEmpty());
    EXPECT_EQ(tree().selectedFolder(), ownRoot);
    EXPECT_EQ(list().shownFolder(), ownRoot);

    // Each root shows its collection's picture whether selected or not.
    const FolderTreeModel& model = tree().folderModel();
    const LibraryImageList& images = m_app.imageList();
    const auto picture = [&](FolderKey key, QIcon::Mode mode) {
        return model.data(model.indexOf(key), Qt::DecorationRole)
            .value<QIcon>()
            .pixmap(16, 16, mode)
            .toImage();
    };
    EXPECT_EQ(
        picture(ownRoot, QIcon::Selected), images.pixmap(LibraryImageList::MyRecords).toImage());
    EXPECT_EQ(picture(trashRoot, QIcon::Normal), images.pixmap(LibraryImageList::Trash).toImage());
    EXPECT_EQ(picture(yahooRoot, QIcon::Normal), images.pixmap(LibraryImageList::Yahoo).toImage());
    EXPECT_EQ(picture(networkRoot, QIcon::Normal),
        images.pixmap(LibraryImageList::NetworkRoot).toImage());
}

TEST_F(FolderTreeTest, FoldersTakeTheirPlaceInNameOrderAndFollowRenames)
{
    const int b = newFolder(0, 0, "b");
    newFolder(0, 0, "d");
    newFolder(0, 0, "a");
    newFolder(0, b, "inner");
    EXPECT_EQ(treeChildren(ownRoot), QStringList({ "a", "b", "d" }));
    EXPECT_EQ(treeChildren({ 0, b }), QStringList({ "inner" }));
    tree().expandFolder({ 0, b });
    tree().select({ 0, b });

    ops().renameFolder(0, b, "e");
    EXPECT_EQ(treeChildren(ownRoot), QStringList({ "a", "d", "e" }));
    // The node moved with its subtree, its expansion and the selection.
    EXPECT_EQ(treeChildren({ 0, b }), QStringList({ "inner" }));
    EXPECT_TRUE(tree().isExpanded(tree().folderModel().indexOf({ 0, b })));
    EXPECT_EQ(tree().selectedFolder(), (FolderKey { 0, b }));
}

TEST_F(FolderTreeTest, SelectingANodeShowsItsFolderInTheList)
{
    const int a = newFolder(0, 0, "a");
    newRecord(0, a, "game");
    tree().select({ 0, a });
    EXPECT_EQ(list().shownFolder(), (FolderKey { 0, a }));
    EXPECT_EQ(listNames(), QStringList({ "game" }));
    tree().select(trashRoot);
    EXPECT_EQ(list().mode(), ListMode::Trash);
}

TEST_F(FolderTreeTest, RenameRefusesASiblingsNameAndReopensTheEditor)
{
    const int a = newFolder(0, 0, "a");
    newFolder(0, 0, "b");
    const int other = newFolder(0, 0, "other");
    newFolder(0, other, "c");
    newRecord(0, 0, "rec");

    tree().startRename({ 0, a });
    ASSERT_TRUE(tree().isEditingLabel());
    typeLabel(tree(), "b");
    ASSERT_EQ(m_prompter.calls().size(), 1u);
    EXPECT_EQ(m_prompter.last().kind, "error");
    EXPECT_EQ(m_prompter.last().title, u("フォルダ名の変更 エラー"));
    EXPECT_EQ(m_prompter.last().text,
        u("指定されたフォルダ名は既に存在します。別の名前を指定して下さい。"));
    EXPECT_EQ(collection(0).folder(a).name, "a");
    EXPECT_TRUE(tree().isEditingLabel());
    EXPECT_NE(openEditor(tree()), nullptr);

    // A record of the same folder blocks the name too.
    typeLabel(tree(), "rec");
    EXPECT_EQ(m_prompter.calls().size(), 2u);
    EXPECT_TRUE(tree().isEditingLabel());

    // The name of a folder elsewhere is fine; the renamed node is selected.
    typeLabel(tree(), "c");
    EXPECT_EQ(m_prompter.calls().size(), 2u);
    EXPECT_EQ(collection(0).folder(a).name, "c");
    EXPECT_EQ(treeChildren(ownRoot), QStringList({ "b", "c", "other" }));
    EXPECT_EQ(tree().selectedFolder(), (FolderKey { 0, a }));
    EXPECT_FALSE(tree().isEditingLabel());
}

TEST_F(FolderTreeTest, UnchangedEmptyOrSlashedNamesChangeNothing)
{
    const int a = newFolder(0, 0, "a");
    for (const char* typed : { "a", "" }) {
        tree().startRename({ 0, a });
        typeLabel(tree(), u(typed));
        EXPECT_TRUE(m_prompter.calls().empty()) << typed;
        EXPECT_FALSE(tree().isEditingLabel());
    }
    // A path separator would break the folder's path: refused like in the list.
    tree().startRename({ 0, a });
    typeLabel(tree(), "x/y");
    EXPECT_EQ(m_prompter.last().title, u("棋譜名またはフォルダ名の変更 エラー"));
    EXPECT_TRUE(tree().isEditingLabel());
    EXPECT_EQ(collection(0).folder(a).name, "a");
}

TEST_F(FolderTreeTest, RootsAndNetworkFoldersKeepTheirNames)
{
    const int computer = collection(networkCollection).addFolder(0, "alice", 0);
    tree().insertFolder({ networkCollection, computer });
    const int yahooFolder = newFolder(yahooCollection, 0, "y");
    for (FolderKey key :
        { ownRoot, trashRoot, yahooRoot, networkRoot, FolderKey { networkCollection, computer } }) {
        tree().startRename(key);
        EXPECT_FALSE(tree().isEditingLabel());
        EXPECT_EQ(openEditor(tree()), nullptr);
    }
    tree().startRename({ yahooCollection, yahooFolder });
    EXPECT_TRUE(tree().isEditingLabel());
}

TEST_F(FolderTreeTest, DeleteMovesAFolderToTheTrashAfterAsking)
{
    const int a = newFolder(0, 0, "A");
    newFolder(0, a, "inner");
    newRecord(0, a, "game");

    m_prompter.answer(false);
    treePopup({ 0, a }, CommandId::DeleteFolder);
    ASSERT_EQ(m_prompter.calls().size(), 1u);
    EXPECT_EQ(m_prompter.last().kind, "confirm");
    EXPECT_EQ(m_prompter.last().title, u("フォルダの削除の確認"));
    EXPECT_EQ(m_prompter.last().text,
        u("フォルダ 'A' とフォルダ内の棋譜をごみ箱に移動してもよろしいですか?"));
    EXPECT_EQ(treeChildren(ownRoot), QStringList({ "A" }));

    treePopup({ 0, a }, CommandId::DeleteFolder);
    EXPECT_TRUE(treeChildren(ownRoot).isEmpty());
    // The trash holds the copy but shows only its root.
    EXPECT_TRUE(treeChildren(trashRoot).isEmpty());
    const RecordFolder& trash = collection(trashCollection).folder(0);
    ASSERT_EQ(trash.children.size(), 1u);
    const RecordFolder& copy = collection(trashCollection).folder(trash.children[0]);
    EXPECT_EQ(copy.name, "A");
    EXPECT_NE(copy.deletedAt, 0);
    EXPECT_EQ(copy.children.size(), 1u);
    EXPECT_EQ(copy.records.size(), 1u);
}

TEST_F(FolderTreeTest, DeleteKeyDeletesForGoodWhenSetSo)
{
    settings().delforce = 1;
    const int a = newFolder(0, 0, "A");
    tree().select({ 0, a });
    QTest::keyClick(&tree(), Qt::Key_Delete);
    EXPECT_EQ(
        m_prompter.last().text, u("フォルダ 'A' とフォルダ内の棋譜を削除してもよろしいですか?"));
    EXPECT_TRUE(treeChildren(ownRoot).isEmpty());
    EXPECT_TRUE(doc().operations().trashIsEmpty());

    // Roots and network folders are not deleted with the key.
    m_prompter.clear();
    const int computer = collection(networkCollection).addFolder(0, "bob", 0);
    tree().insertFolder({ networkCollection, computer });
    for (FolderKey key : { ownRoot, trashRoot, FolderKey { networkCollection, computer } }) {
        tree().select(key);
        QTest::keyClick(&tree(), Qt::Key_Delete);
    }
    EXPECT_TRUE(m_prompter.calls().empty());
    EXPECT_EQ(treeChildren(networkRoot), QStringList({ "bob" }));
}

TEST_F(FolderTreeTest, EmptyingTheTrashFromItsMenu)
{
    settings().delconfirm = 0;
    EXPECT_EQ(treePopup(trashRoot),
        QStringList({ u("開く(&O)"), u("ごみ箱を空にする(&B) (grayed)"), u("プロパティ(&P)") }));
    ops().deleteFolder(0, newFolder(0, 0, "A"));
    EXPECT_FALSE(doc().operations().trashIsEmpty());
    EXPECT_EQ(treePopup(trashRoot, CommandId::EmptyTrash),
        QStringList({ u("開く(&O)"), u("ごみ箱を空にする(&B)"), u("プロパティ(&P)") }));
    EXPECT_TRUE(doc().operations().trashIsEmpty());
    EXPECT_TRUE(m_prompter.calls().empty());
}

TEST_F(FolderTreeTest, PopupsAndTheirGrayedItemsByNode)
{
    const int a = newFolder(0, 0, "A");
    const int y = newFolder(yahooCollection, 0, "Y");
    CollectionTree& network = collection(networkCollection);
    const int computer = network.addFolder(0, "bob", 0);
    const int share = network.addFolder(computer, "games", 0);
    tree().insertFolder({ networkCollection, computer });

    const QStringList folderItems { u("開く(&O)"), u("検索(&F)..."), u("共有(&S)..."),
        u("切り取り(&T)"), u("コピー(&C)"), u("貼り付け(&P) (grayed)"), u("削除(&D)"),
        u("名前の変更(&M)"), u("KAフォーマットで保存"), u("プロパティ(&R)") };
    EXPECT_EQ(treePopup({ 0, a }), folderItems);
    const QStringList rootItems { u("開く(&O)"), u("検索(&F)..."), u("共有(&S)... (grayed)"),
        u("切り取り(&T) (grayed)"), u("コピー(&C) (grayed)"), u("貼り付け(&P) (grayed)"),
        u("削除(&D) (grayed)"), u("名前の変更(&M) (grayed)"), u("KAフォーマットで保存"),
        u("プロパティ(&R)") };
    EXPECT_EQ(treePopup(ownRoot), rootItems);
    EXPECT_EQ(treePopup({ networkCollection, share }), rootItems);

    // Any clipboard text makes paste possible.
    m_app.internalClipboard().text = "F5D6";
    EXPECT_EQ(treePopup({ 0, a }).at(5), u("貼り付け(&P)"));

    const QStringList yahooOff { u("開く(&O)"), u("棋譜採り開始(&S)"),
        u("棋譜採り終了(&E) (grayed)"), u("プロパティ(&R)") };
    EXPECT_EQ(treePopup(yahooRoot), yahooOff);
    m_app.setCaptureOn(true);
    EXPECT_EQ(treePopup({ yahooCollection, y }),
        QStringList({ u("開く(&O)"), u("棋譜採り開始(&S) (grayed)"), u("棋譜採り終了(&E)"),
            u("プロパティ(&R)") }));
    m_app.setCaptureOn(false);

    EXPECT_EQ(treePopup(networkRoot),
        QStringList({ u("接続(&C)"), u("切断(&D) (grayed)"), u("プロパティ(&P)") }));
    EXPECT_EQ(treePopup({ networkCollection, computer }),
        QStringList({ u("開く(&O)"), u("チャット(&C)"), u("プロパティ(&P)") }));
}

TEST_F(FolderTreeTest, PopupCommandsActOnTheClickedNode)
{
    const int a = newFolder(0, 0, "A");
    EXPECT_EQ(tree().selectedFolder(), ownRoot);
    treePopup({ 0, a }, CommandId::OpenFolder);
    EXPECT_EQ(tree().selectedFolder(), (FolderKey { 0, a }));
    EXPECT_EQ(list().shownFolder(), (FolderKey { 0, a }));

    treePopup(ownRoot, CommandId::DeleteFolder); // grayed: nothing
    treePopup({ 0, a }, CommandId::RenameFolder);
    EXPECT_TRUE(tree().isEditingLabel());
    typeLabel(tree(), "B");
    EXPECT_EQ(collection(0).folder(a).name, "B");

    // Capture starts from the yahoo menu and shows its root.
    treePopup(yahooRoot, CommandId::CaptureStart);
    EXPECT_TRUE(m_app.captureOn());
    EXPECT_EQ(tree().selectedFolder(), yahooRoot);
}

TEST_F(FolderTreeTest, CopyAndPasteAFolder)
{
    const int a = newFolder(0, 0, "A");
    newRecord(0, a, "game");
    const int b = newFolder(0, 0, "B");

    tree().select({ 0, a });
    ASSERT_TRUE(m_frame->dispatch(CommandId::EditCopy, &tree()));
    const InternalClipboard& clip = m_app.internalClipboard();
    EXPECT_EQ(clip.mode, InternalClipboard::copy);
    EXPECT_EQ(clip.sourceCollection, 0);
    EXPECT_EQ(clip.sourceFolder, 0);
    EXPECT_EQ(clip.items, std::vector<ItemRef>({ folderItem(a) }));
    EXPECT_FALSE(tree().folderModel().cutFolder().valid());

    tree().select({ 0, b });
    ASSERT_TRUE(m_frame->dispatch(CommandId::EditPaste, &tree()));
    EXPECT_EQ(treeChildren({ 0, b }), QStringList({ "A" }));
    EXPECT_EQ(treeChildren(ownRoot), QStringList({ "A", "B" }));
    // Pasting into the same folder again makes a named copy, without asking.
    tree().select(ownRoot);
    ASSERT_TRUE(m_frame->dispatch(CommandId::EditPaste, &tree()));
    EXPECT_EQ(treeChildren(ownRoot), QStringList({ "A", "B", u("コピー～A") }));
    EXPECT_TRUE(m_prompter.calls().empty());
}

TEST_F(FolderTreeTest, PopupCutAndCopyTakeTheClickedNodeAsTheEditMenuTakesTheSelectedOne)
{
    const int a = newFolder(0, 0, "A");
    const int b = newFolder(0, 0, "B");
    tree().select({ 0, b });
    const InternalClipboard& clip = m_app.internalClipboard();

    treePopup({ 0, a }, CommandId::CopyFolder);
    EXPECT_EQ(clip.mode, InternalClipboard::copy);
    EXPECT_EQ(clip.items, std::vector<ItemRef>({ folderItem(a) }));
    EXPECT_FALSE(tree().folderModel().cutFolder().valid());
    treePopup({ 0, b }, CommandId::PasteIntoFolder);
    EXPECT_EQ(treeChildren({ 0, b }), QStringList({ "A" }));

    treePopup({ 0, a }, CommandId::CutFolder);
    EXPECT_EQ(clip.mode, InternalClipboard::cut);
    EXPECT_EQ(tree().folderModel().cutFolder(), (FolderKey { 0, a }));
    EXPECT_EQ(tree().selectedFolder(), (FolderKey { 0, b }));
}

TEST_F(FolderTreeTest, AClickOnTheSelectedNodeLeavesTheDeleteKeyWorking)
{
    const int a = newFolder(0, 0, "A");
    const int b = newFolder(0, 0, "B");
    for (const int folder : { a, b }) {
        tree().select({ 0, folder });
        const QRect node = tree().visualRect(tree().folderModel().indexOf({ 0, folder }));
        QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, node.center());
        // The rename waits for the double-click time; until then there is no editor.
        EXPECT_FALSE(tree().isEditingLabel());
        if (folder == b) {
            EXPECT_TRUE(QTest::qWaitFor([this] { return tree().isEditingLabel(); }, 5000));
            ASSERT_TRUE(tree().isEditingLabel());
            ASSERT_NE(openEditor(tree()), nullptr);
            QTest::keyClick(openEditor(tree()), Qt::Key_Escape);
            EXPECT_FALSE(tree().isEditingLabel());
        }
        QTest::keyClick(&tree(), Qt::Key_Delete);
    }
    EXPECT_TRUE(treeChildren(ownRoot).isEmpty());
    EXPECT_EQ(collection(trashCollection).folder(0).children.size(), 2u);
}

TEST_F(FolderTreeTest, NamesOutsideCodePage932AreRefusedNamingTheCharacters)
{
    const int a = newFolder(0, 0, "A");
    tree().startRename({ 0, a });
    typeLabel(tree(), u("caf\u00e9 \u2603\u00e9"));
    EXPECT_EQ(m_prompter.last().kind, "error");
    EXPECT_EQ(m_prompter.last().text,
        u("棋譜名及びフォルダ名には次の文字は使えません。\r\n　　　　U+00E9 U+2603"));
    EXPECT_EQ(collection(0).folder(a).name, "A");
    ASSERT_TRUE(tree().isEditingLabel());
    typeLabel(tree(), u("①Ω"));
    EXPECT_EQ(fromSjis(collection(0).folder(a).name), u("①Ω"));
}

// Answers the modal windows that open while a command runs: the save dialog gets a file name,
// a question is answered with its Yes button. Every modal window's class is kept.
class ModalAnswerer {
public:
    explicit ModalAnswerer(QString file)
        : m_file(std::move(file))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(20);
    }
    QString proposed;
    QStringList seen;

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last)
            return;
        m_last = modal;
        seen << QString::fromLatin1(modal->metaObject()->className());
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            proposed = dialog->selectedFiles().value(0);
            // Typed into the name box, as a user would.
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(m_file);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (QAbstractButton* yes = box->button(QMessageBox::Yes))
                QMetaObject::invokeMethod(yes, &QAbstractButton::click, Qt::QueuedConnection);
        }
    }
    QString m_file;
    QTimer m_timer;
    QPointer<QWidget> m_last;
};

TEST_F(FolderTreeTest, KaExportWritesWhatTheCommandLineToolWrites)
{
    const int a = newFolder(0, 0, "A");
    for (const char* moves : { "F5D6C3D3C4", "c4e3f6e6", "D3C5F6F5" })
        ops().importLine(0, a, moves);
    const QString file = m_session.dataDir() + u("/tournament.ka");
    {
        ModalAnswerer answers(file);
        treePopup({ 0, a }, CommandId::ExportKa);
        EXPECT_EQ(answers.seen, QStringList({ "QFileDialog" }));
        EXPECT_EQ(QFileInfo(answers.proposed).fileName(), u("output.ka"));
        const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        EXPECT_EQ(QFileInfo(answers.proposed).absolutePath(),
            documents.exists() ? documents.absolutePath() : QDir::homePath());
    }
    ASSERT_TRUE(doc().save());
    const QString cliOut = m_session.dataDir() + u("/cli.ka");
    QProcess cli;
    cli.start(QString::fromUtf8(PAVIONE_CLI_PATH),
        { u("export-ka"), m_session.dataDir() + u("/private.kif"), u("\\A\\"), cliOut });
    ASSERT_TRUE(cli.waitForFinished(30000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    QFile ours(file), theirs(cliOut);
    ASSERT_TRUE(ours.open(QIODevice::ReadOnly));
    ASSERT_TRUE(theirs.open(QIODevice::ReadOnly));
    const QByteArray bytes = ours.readAll();
    EXPECT_GT(bytes.size(), 0);
    EXPECT_EQ(bytes, theirs.readAll());

    // Over an existing file the dialog asks first; a file that cannot be written is reported.
    {
        ModalAnswerer answers(file);
        treePopup({ 0, a }, CommandId::ExportKa);
        EXPECT_EQ(answers.seen, QStringList({ "QFileDialog", "QMessageBox" }));
    }
    EXPECT_TRUE(m_prompter.calls().empty());
    {
        ModalAnswerer answers(u("/dev/full"));
        treePopup({ 0, a }, CommandId::ExportKa);
    }
    EXPECT_EQ(m_prompter.last().title, u("KAフォーマットで保存"));
    EXPECT_TRUE(
        m_prompter.last().text.startsWith(u("ファイル \"/dev/full\" に保存できませんでした。")));
}

TEST_F(FolderTreeTest, CutAndPasteMovesTheFolderOnce)
{
    const int a = newFolder(0, 0, "A");
    const int b = newFolder(0, 0, "B");
    tree().select({ 0, a });
    ASSERT_TRUE(m_frame->dispatch(CommandId::EditCut, &tree()));
    EXPECT_EQ(m_app.internalClipboard().mode, InternalClipboard::cut);
    EXPECT_EQ(tree().folderModel().cutFolder(), (FolderKey { 0, a }));
    const QModelIndex cutNode = tree().folderModel().indexOf({ 0, a });
    EXPECT_EQ(
        tree().folderModel().data(cutNode, Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));

    // Into itself: refused by the library, and the folder stays cut.
    treePopup({ 0, a }, CommandId::PasteIntoFolder);
    EXPECT_EQ(m_prompter.last().text,
        u("コピーできません。受け側のフォルダは送り側フォルダのサブフォルダです。"));
    EXPECT_EQ(m_app.internalClipboard().mode, InternalClipboard::cut);

    treePopup({ 0, b }, CommandId::PasteIntoFolder);
    EXPECT_EQ(treeChildren(ownRoot), QStringList({ "B" }));
    ASSERT_EQ(treeChildren({ 0, b }), QStringList({ "A" }));
    // The moved folder is gone from its old place: the clipboard forgets it.
    EXPECT_EQ(m_app.internalClipboard().mode, InternalClipboard::empty);
    EXPECT_FALSE(tree().folderModel().cutFolder().valid());
    tree().select(ownRoot);
    EXPECT_FALSE(m_frame->commandState(CommandId::EditPaste, &tree()).enabled);
}

TEST_F(FolderTreeTest, EditCommandsFollowTheSelection)
{
    const int a = newFolder(0, 0, "A");
    const int y = newFolder(yahooCollection, 0, "Y");
    struct Case {
        FolderKey selected;
        bool cut;
        bool copy;
        bool paste; // with something on the clipboard
    };
    m_app.internalClipboard().text = "F5";
    for (const Case& c : {
             Case { ownRoot, false, false, true },
             Case { { 0, a }, true, true, true },
             Case { yahooRoot, false, false, false },
             Case { { yahooCollection, y }, true, false, false },
             Case { trashRoot, false, false, false },
             Case { networkRoot, false, false, false },
         }) {
        SCOPED_TRACE(c.selected.packed());
        tree().select(c.selected);
        EXPECT_EQ(m_frame->commandState(CommandId::EditCut, &tree()).enabled, c.cut);
        EXPECT_EQ(m_frame->commandState(CommandId::EditCopy, &tree()).enabled, c.copy);
        EXPECT_EQ(m_frame->commandState(CommandId::EditPaste, &tree()).enabled, c.paste);
    }
    m_app.internalClipboard().text.clear();
    tree().select(ownRoot);
    EXPECT_FALSE(m_frame->commandState(CommandId::EditPaste, &tree()).enabled);
}

TEST_F(FolderTreeTest, SharedFoldersSwitchPictures)
{
    const int a = newFolder(0, 0, "A");
    const FolderTreeModel& model = tree().folderModel();
    const auto picture = [&](QIcon::Mode mode) {
        return model.data(model.indexOf({ 0, a }), Qt::DecorationRole)
            .value<QIcon>()
            .pixmap(16, 16, mode)
            .toImage();
    };
    const LibraryImageList& images = m_app.imageList();
    EXPECT_EQ(picture(QIcon::Normal), images.pixmap(LibraryImageList::ClosedFolder).toImage());
    EXPECT_EQ(picture(QIcon::Selected), images.pixmap(LibraryImageList::OpenFolder).toImage());
    ops().setShare(0, a, std::string("share"), "");
    EXPECT_EQ(
        picture(QIcon::Normal), images.pixmap(LibraryImageList::SharedClosedFolder).toImage());
    EXPECT_EQ(
        picture(QIcon::Selected), images.pixmap(LibraryImageList::SharedOpenFolder).toImage());
    ops().setShare(0, a, std::nullopt, "");
    EXPECT_EQ(picture(QIcon::Normal), images.pixmap(LibraryImageList::ClosedFolder).toImage());
}

TEST_F(FolderTreeTest, ClickingTheNetworkRootOfflineAsksToConnect)
{
    bool asked = false;
    QTimer::singleShot(0, [&asked] {
        if (auto* dialog = qobject_cast<ConnectDialog*>(QApplication::activeModalWidget())) {
            asked = true;
            dialog->reject();
        }
    });
    const QRect root = tree().visualRect(tree().folderModel().indexOf(networkRoot));
    QTest::mouseClick(tree().viewport(), Qt::LeftButton, {}, root.center());
    EXPECT_TRUE(asked);
    EXPECT_EQ(tree().selectedFolder(), networkRoot);
}

TEST_F(FolderTreeTest, TextFromAnotherProgramReplacesTheCutFolder)
{
    const int a = newFolder(0, 0, "A");
    tree().select({ 0, a });
    m_frame->dispatch(CommandId::EditCut, &tree());
    QApplication::clipboard()->setText("F5D6C3");
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(m_frame, &activate);
    const InternalClipboard& clip = m_app.internalClipboard();
    EXPECT_EQ(clip.mode, InternalClipboard::empty);
    EXPECT_EQ(clip.text, "F5D6C3");
    EXPECT_FALSE(tree().folderModel().cutFolder().valid());
    // Pasting the text in the tree files it as a record.
    tree().select(ownRoot);
    m_frame->dispatch(CommandId::EditPaste, &tree());
    EXPECT_EQ(collection(0).folder(0).records.size(), 1u);
    EXPECT_TRUE(clip.text.empty());
}

TEST_F(FolderTreeTest, CtrlFlagFollowsTheKey)
{
    QTest::keyPress(&tree(), Qt::Key_Control);
    EXPECT_TRUE(tree().ctrlDown());
    QTest::keyRelease(&tree(), Qt::Key_Control);
    EXPECT_FALSE(tree().ctrlDown());
}

TEST_F(FolderTreeTest, TreeModelPassesTheModelTester)
{
    QAbstractItemModelTester tester(
        &tree().folderModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    const int a = newFolder(0, 0, "m");
    const int b = newFolder(0, a, "n");
    newFolder(0, 0, "a");
    ops().renameFolder(0, a, "z");
    ops().setShare(0, b, std::string("s"), "");
    settings().delconfirm = 0;
    ops().deleteFolder(0, a);
    ops().clearNetworkComputers();
    EXPECT_EQ(treeChildren(ownRoot), QStringList({ "a" }));
}

} // namespace
