#include "runningprogram.h"

#include "ui/fileimport.h"

#include <QDropEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QUrl>

namespace {

class FileImportTest : public RunningProgram {
protected:
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_files.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // A file of move text: lines of games and one line that is no game.
    QString movesFile(const QString& name, int games)
    {
        QByteArray text;
        for (int i = 0; i < games; ++i)
            text += i % 2 == 0 ? "F5D6C3D3C4\r\n" : "F5F6E6F4\r\n";
        text += "no moves here\r\n";
        return writeFile(name, text);
    }

    static std::unique_ptr<QMimeData> filesData(const QStringList& paths)
    {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        urls << QUrl(QStringLiteral("https://example.org/remote.wtb"));
        data->setUrls(urls);
        return data;
    }

    // Sends a drag of the files over a point of a view's viewport; returns whether it was taken.
    static bool dragOver(QAbstractItemView& view, const QPoint& at, const QMimeData& data)
    {
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &enter);
        return enter.isAccepted();
    }

    // Drops the files at a point of a view and waits for the import, closing its summary.
    QString drop(QAbstractItemView& view, const QPoint& at, const QMimeData& data)
    {
        QString summary;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                summary = box->text();
                box->accept();
            }
        });
        closer.start(20);
        // Qt hands a drop to the widget that took the drag's entry.
        EXPECT_TRUE(dragOver(view, at, data));
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
        EXPECT_TRUE(event.isAccepted());
        for (int i = 0; i < 200 && summary.isEmpty(); ++i)
            QTest::qWait(10);
        return summary;
    }

    QPoint treePoint(FolderKey key)
    {
        const QModelIndex index = tree().folderModel().indexOf(key);
        tree().scrollTo(index);
        return tree().visualRect(index).center();
    }

    QTemporaryDir m_files;
};

TEST_F(FileImportTest, DroppedFilesBecomeFoldersOfTheFolderUnderThePointer)
{
    const int target = newFolder(myRecordsCollection, 0, "大会");
    const QString first = movesFile(QStringLiteral("春.txt"), 3);
    const QString second = movesFile(QStringLiteral("秋.txt"), 2);
    const auto data = filesData({ first, second });

    const QString summary = drop(tree(), treePoint({ myRecordsCollection, target }), *data);
    QStringList shown = treeChildren({ myRecordsCollection, target });
    shown.sort();
    QStringList expected { u("春"), u("秋") };
    expected.sort();
    EXPECT_EQ(shown, expected);
    const CollectionTree& mine = collection(myRecordsCollection);
    const std::vector<int>& made = mine.folder(target).children;
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(mine.folder(made[0]).records.size(), 3u);
    EXPECT_EQ(mine.folder(made[1]).records.size(), 2u);
    // The last folder made is selected, and the summary has a line for each file.
    EXPECT_EQ(tree().selectedFolder(), (FolderKey { myRecordsCollection, made[1] }));
    EXPECT_TRUE(summary.contains(u("春.txt: 登録 3 局"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(u("秋.txt: 登録 2 局"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(u("スキップ 1 局"))) << summary.toStdString();
}

TEST_F(FileImportTest, DropsAreTakenOnlyInTheOwnCollection)
{
    const int folder = newFolder(myRecordsCollection, 0, "棋譜");
    const auto data = filesData({ movesFile(QStringLiteral("a.txt"), 1) });
    const struct {
        FolderKey node;
        bool taken;
    } cases[] = {
        { { myRecordsCollection, 0 }, true },
        { { myRecordsCollection, folder }, true },
        { { networkCollection, 0 }, false },
        { { yahooCollection, 0 }, false },
        { { trashCollection, 0 }, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node.collection);
        EXPECT_EQ(dragOver(tree(), treePoint(c.node), *data), c.taken);
    }
    // A drag carrying no local file is left to the view's own handling, which refuses it.
    QMimeData remote;
    remote.setUrls({ QUrl(QStringLiteral("https://example.org/games.ggf")) });
    EXPECT_FALSE(dragOver(tree(), treePoint({ myRecordsCollection, 0 }), remote));

    // Over the list: a folder row takes the files, and so does the shown folder's empty area.
    tree().select({ myRecordsCollection, 0 });
    const int row = list().listModel().rowOf(folderItem(folder));
    ASSERT_GE(row, 0);
    const QPoint onRow = list().visualRect(list().listModel().index(row, 0)).center();
    EXPECT_TRUE(dragOver(list(), onRow, *data));
    EXPECT_TRUE(dragOver(list(), QPoint(5, list().viewport()->height() - 5), *data));
    tree().select({ trashCollection, 0 });
    EXPECT_FALSE(dragOver(list(), QPoint(5, list().viewport()->height() - 5), *data));
}

TEST_F(FileImportTest, ACancelledFileLeavesNothingAndTheRestIsNotRead)
{
    const QString big = movesFile(QStringLiteral("big.txt"), 9000);
    const QString small = movesFile(QStringLiteral("small.txt"), 1);
    const QString missing = m_files.filePath(QStringLiteral("missing.wtb"));
    const int before = collection(myRecordsCollection).folderCount();
    const QStringList shownBefore = treeChildren({ myRecordsCollection, 0 });

    // The missing file is reported; the big one is cancelled at its first report of progress.
    FileImport import(doc(), m_frame);
    import.setProgressDelay(0);
    bool cancelled = false;
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* p = qobject_cast<QProgressDialog*>(w);
            if (p && !cancelled && p->labelText().contains(u("big.txt"))) {
                p->cancel();
                cancelled = true;
            }
        }
    });
    canceller.start(0);
    const auto& outcomes = import.run({ myRecordsCollection, 0 }, { missing, big, small });
    ASSERT_EQ(outcomes.size(), 3u);
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(outcomes[0].result.error.empty());
    EXPECT_TRUE(outcomes[1].result.cancelled);
    EXPECT_FALSE(outcomes[2].read);
    EXPECT_EQ(treeChildren({ myRecordsCollection, 0 }), shownBefore);
    const CollectionTree& mine = collection(myRecordsCollection);
    for (int f = before; f < mine.folderCount(); ++f)
        EXPECT_FALSE(mine.folderIsLive(f)) << "folder " << f << " was left behind";
    EXPECT_TRUE(mine.folder(0).records.empty());

    const QStringList lines = import.summary().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(u("missing.wtb: 読み込めませんでした")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(u("big.txt: 中止しました"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(u("small.txt: 中止したため"))) << lines[2].toStdString();
}

TEST_F(FileImportTest, TargetsOutsideTheOwnCollectionAreRefused)
{
    FileImport import(doc(), m_frame);
    EXPECT_TRUE(
        import.run({ yahooCollection, 0 }, { movesFile(QStringLiteral("y.txt"), 1) }).empty());
    EXPECT_TRUE(collection(yahooCollection).folder(0).children.empty());
}

TEST_F(FileImportTest, FileOpenReadsIntoTheSelectedFolderOfTheOwnCollection)
{
    const int folder = newFolder(myRecordsCollection, 0, "開いた");
    const struct {
        FolderKey selected;
        FolderKey into; // the root of マイ 棋譜集 when the selection lies elsewhere
    } cases[] = {
        { { myRecordsCollection, folder }, { myRecordsCollection, folder } },
        { { yahooCollection, 0 }, { myRecordsCollection, 0 } },
        { { trashCollection, 0 }, { myRecordsCollection, 0 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected.collection);
        tree().select(c.selected);
        EXPECT_EQ(m_frame->openFilesTarget(), c.into);
    }
}

} // namespace
