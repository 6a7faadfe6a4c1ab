#include "../ui/runningprogram.h"

#include "board/randomgame.h"
#include "net/notices.h"
#include "viewer/picturebutton.h"
#include "viewer/recordviewer.h"

#include "board/boarddiagram.h"
#include "board/notation.h"
#include "viewer/diagramimage.h"
#include "viewer/openingexplorerpanel.h"

#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <functional>
#include <random>
#include <vector>

namespace {

class RecordViewerTest : public RunningProgram {
protected:
    // A record of the own collection's root with a whole random game of 60 moves.
    int fullRecord(const char* comment = "")
    {
        std::mt19937 rng(1);
        MoveList moves;
        do
            moves = randomGame(rng);
        while (moves.size() != 60);
        OthelloGame game;
        game.reset();
        game.selectVariant(OthelloBoard::kVariantStandard);
        game.replay(moves);
        GameRecord record = recordFromGame(game, toSjis(u("決勝")), doc().library().openingBook());
        record.blackPlayer
            = static_cast<int16_t>(collection(0).playerNames().findOrAdd(toSjis(u("山田"))));
        record.whitePlayer
            = static_cast<int16_t>(collection(0).playerNames().findOrAdd(toSjis(u("佐藤"))));
        record.endType = GameRecord::normalEnd;
        record.winner = GameRecord::blackWins;
        record.blackDiscs = static_cast<int8_t>(game.blackCount());
        record.whiteDiscs = static_cast<int8_t>(game.whiteCount());
        record.comment = toSjis(u(comment));
        return ops().newRecord(myRecordsCollection, 0, record);
    }

    RecordViewer* open(int record)
    {
        m_frame->openViewer(myRecordsCollection, record);
        return viewerOf(record);
    }
    RecordViewer* viewerOf(int record) const
    {
        RecordViewer* found = nullptr;
        for (int32_t i = 0; i < m_frame->windows().count(); ++i) {
            auto* v = dynamic_cast<RecordViewer*>(m_frame->windows().at(i));
            if (v && v->record() == record) {
                EXPECT_EQ(found, nullptr) << "two viewers of one record";
                found = v;
            }
        }
        return found;
    }
    int viewerCount() const
    {
        int n = 0;
        for (int32_t i = 0; i < m_frame->windows().count(); ++i)
            n += dynamic_cast<RecordViewer*>(m_frame->windows().at(i)) != nullptr;
        return n;
    }
    static void tick(RecordViewer* v, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            EXPECT_EQ(v->onTick(TickNotice(), 0), noticeHandled);
    }
    static QString counter(int n) { return QString::asprintf("%2d ", n) + u("手"); }
    // The four step buttons' enabled states: 最初, 戻る, 進む, 最後.
    static std::vector<bool> enabled(RecordViewer* v)
    {
        std::vector<bool> states;
        for (auto b :
            { StepButtons::First, StepButtons::Back, StepButtons::Forward, StepButtons::Last })
            states.push_back(v->stepButton(b)->isEnabled());
        return states;
    }
    static int redPixels(RecordViewer* v)
    {
        const QImage& image = v->picture().image();
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == QColor(255, 0, 0);
        }
        return n;
    }
    PictureButton* button(RecordViewer* v, StepButtons::Button b) { return v->stepButton(b); }
    // What the window shows where its board stands: the picture, copied to (3, 3).
    static bool showsItsPicture(RecordViewer* v)
    {
        const QImage shown = v->grab(QRect(3, 3, 240, 240)).toImage();
        return shown.convertToFormat(QImage::Format_RGB32) == v->picture().image();
    }
};

TEST_F(RecordViewerTest, AFinishedGameOpensAtItsEndWithTheMarkAndTheResult)
{
    const int slot = fullRecord();
    RecordViewer* v = open(slot);
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->isVisible());
    EXPECT_EQ(v->windowTitle(), u("決勝"));
    EXPECT_EQ(v->blackName()->text(), u("山田"));
    EXPECT_EQ(v->whiteName()->text(), u("佐藤"));
    EXPECT_EQ(v->game().cursor(), 60);
    EXPECT_EQ(v->moveCounter()->text(), counter(60));
    EXPECT_EQ(enabled(v), std::vector<bool>({ true, true, false, false }));
    EXPECT_EQ(redPixels(v), 21);
    const int last = v->game().current()->square;
    const QPoint centre(12 + 27 * board::columnOf(last) + 13, 12 + 27 * board::rowOf(last) + 13);
    EXPECT_EQ(v->picture().image().pixelColor(centre), QColor(255, 0, 0));
    EXPECT_TRUE(showsItsPicture(v));
    const GameRecord& record = collection(0).record(slot);
    EXPECT_EQ(v->blackDiscs()->text(), QString::number(record.blackDiscs));
    EXPECT_EQ(v->whiteDiscs()->text(), QString::number(record.whiteDiscs));
    EXPECT_EQ(v->blackResult()->text(), u("勝ち"));
    EXPECT_EQ(v->whiteResult()->text(), QString());
    // The move counter stands on white.
    EXPECT_TRUE(v->moveCounter()->autoFillBackground());
    EXPECT_EQ(v->moveCounter()->palette().color(QPalette::Window), QColor(255, 255, 255));

    QTest::mouseClick(button(v, StepButtons::First), Qt::LeftButton);
    EXPECT_EQ(v->game().cursor(), 0);
    EXPECT_EQ(v->moveCounter()->text(), counter(0));
    EXPECT_EQ(redPixels(v), 0);
    EXPECT_TRUE(showsItsPicture(v));
    EXPECT_EQ(enabled(v), std::vector<bool>({ false, false, true, true }));
    // The initial four discs: white D4, black E4.
    EXPECT_EQ(v->picture().image().pixelColor(12 + 81 + 13, 12 + 81 + 12), QColor(204, 204, 204));
    EXPECT_EQ(v->picture().image().pixelColor(12 + 108 + 13, 12 + 81 + 12), QColor(52, 52, 52));
    QTest::mouseClick(button(v, StepButtons::Last), Qt::LeftButton);
    EXPECT_EQ(v->game().cursor(), 60);
    EXPECT_EQ(redPixels(v), 21);
}

TEST_F(RecordViewerTest, AnEmptyRecordHasNothingToStepAndNoUnfoldButton)
{
    const int slot = newRecord(myRecordsCollection, 0, "空");
    RecordViewer* v = open(slot);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->moveCounter()->text(), counter(0));
    EXPECT_EQ(enabled(v), std::vector<bool>({ false, false, false, false }));
    EXPECT_TRUE(v->unfoldButton()->isHidden());
    EXPECT_TRUE(v->foldButton()->isHidden());
    EXPECT_EQ(v->blackDiscs()->text(), u("-"));
    EXPECT_EQ(v->whiteResult()->text(), QString());
    EXPECT_EQ(v->blackName()->text(), u("不明"));
}

TEST_F(RecordViewerTest, APressStepsOnceAndTheKeyboardStepsOnce)
{
    RecordViewer* v = open(fullRecord());
    ASSERT_NE(v, nullptr);
    PictureButton* back = button(v, StepButtons::Back);
    PictureButton* forward = button(v, StepButtons::Forward);

    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(v->game().cursor(), 59);
    EXPECT_EQ(v->backRepeat(), 0);
    EXPECT_EQ(v->moveCounter()->text(), counter(59));
    // The mark moves to the move before.
    EXPECT_EQ(redPixels(v), 21);
    EXPECT_TRUE(showsItsPicture(v));
    // A double click arrives as a press and a release, then a double-click event (taken as a
    // press) and a release: two steps.
    QTest::mouseClick(back, Qt::LeftButton);
    QTest::mouseDClick(back, Qt::LeftButton);
    EXPECT_EQ(v->game().cursor(), 57);
    EXPECT_EQ(v->backRepeat(), 1);
    QTest::mouseRelease(back, Qt::LeftButton);
    EXPECT_EQ(v->backRepeat(), 0);
    QTest::mouseClick(forward, Qt::LeftButton);
    EXPECT_EQ(v->game().cursor(), 58);
    // The press alone has stepped already.
    QTest::mousePress(back, Qt::LeftButton);
    EXPECT_EQ(v->game().cursor(), 57);
    EXPECT_EQ(v->backRepeat(), 1);
    QTest::mouseRelease(back, Qt::LeftButton);
    EXPECT_EQ(v->game().cursor(), 57);
    EXPECT_EQ(v->backRepeat(), 0);
    // Activating the focused button from the keyboard.
    forward->setFocus();
    QTest::keyClick(forward, Qt::Key_Space);
    EXPECT_EQ(v->game().cursor(), 58);
    back->click();
    EXPECT_EQ(v->game().cursor(), 57);
    // Other buttons do not arm the repeat.
    QTest::mouseClick(button(v, StepButtons::First), Qt::LeftButton);
    tick(v, 20);
    EXPECT_EQ(v->game().cursor(), 0);
}

TEST_F(RecordViewerTest, AHeldButtonRepeatsAfterTenTicksUntilTheEnd)
{
    RecordViewer* v = open(fullRecord());
    ASSERT_NE(v, nullptr);
    v->goToStart();
    PictureButton* forward = button(v, StepButtons::Forward);
    QTest::mousePress(forward, Qt::LeftButton);
    EXPECT_EQ(v->game().cursor(), 1);
    tick(v, 9);
    EXPECT_EQ(v->game().cursor(), 1);
    EXPECT_EQ(v->forwardRepeat(), 10);
    tick(v);
    EXPECT_EQ(v->game().cursor(), 2);
    tick(v, 5);
    EXPECT_EQ(v->game().cursor(), 7);
    tick(v, 53);
    EXPECT_EQ(v->game().cursor(), 60);
    EXPECT_EQ(enabled(v), std::vector<bool>({ true, true, false, false }));
    // The next tick finds nothing to redo and stops the repeat.
    tick(v);
    EXPECT_EQ(v->forwardRepeat(), 0);
    EXPECT_EQ(v->game().cursor(), 60);
    QTest::mouseRelease(forward, Qt::LeftButton);

    // Held back, released in the middle: the repeat stops with the release.
    PictureButton* back = button(v, StepButtons::Back);
    QTest::mousePress(back, Qt::LeftButton);
    tick(v, 12);
    EXPECT_EQ(v->game().cursor(), 56);
    QTest::mouseRelease(back, Qt::LeftButton);
    EXPECT_EQ(v->game().cursor(), 56);
    tick(v, 12);
    EXPECT_EQ(v->game().cursor(), 56);
    EXPECT_EQ(v->moveCounter()->text(), counter(56));
}

TEST_F(RecordViewerTest, OpeningARecordTwiceBringsItsViewerForward)
{
    const int first = fullRecord();
    const int second = newRecord(myRecordsCollection, 0, "二");
    RecordViewer* v = open(first);
    ASSERT_NE(v, nullptr);
    v->goToStart();
    v->showMinimized();
    EXPECT_EQ(open(first), v);
    EXPECT_EQ(viewerCount(), 1);
    EXPECT_FALSE(v->isMinimized());
    // It shows what it showed.
    EXPECT_EQ(v->game().cursor(), 0);
    EXPECT_NE(open(second), nullptr);
    EXPECT_EQ(viewerCount(), 2);

    // Only kind 9 with its own key brings it forward; the removal of other records and folders
    // leaves it open.
    struct Case {
        int32_t kind;
        uint32_t key;
        int32_t answer;
    };
    for (const Case& c : {
             Case { WindowViewRecord, RecordViewer::recordKey(0, first), noticeHandled },
             Case { WindowViewRecord, RecordViewer::recordKey(2, first), noticeIgnored },
             Case { WindowViewRecord, RecordViewer::recordKey(0, second), noticeIgnored },
             Case { WindowEditRecord, RecordViewer::recordKey(0, first), noticeIgnored },
             Case { WindowRecordRemoved, RecordViewer::recordKey(0, second), noticeIgnored },
             Case { WindowRecordRemoved, RecordViewer::recordKey(2, first), noticeIgnored },
             Case { WindowFolderRemoved, RecordViewer::recordKey(1, 0), noticeIgnored },
         }) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(v->onWindow(WindowNotice(c.kind, c.key), 0), c.answer);
    }
    EXPECT_EQ(RecordViewer::recordKey(2, 5), 0x02000005u);
}

TEST_F(RecordViewerTest, TheRecordOrAFolderAboveItGoingAwayClosesTheViewer)
{
    settings().delconfirm = 0;
    // The record sits in B inside A, beside another record; C is a folder elsewhere.
    struct Layout {
        int a, b, c, record, beside;
    };
    struct Case {
        const char* what;
        std::function<void(const Layout&)> remove;
        bool closes;
    };
    const std::vector<Case> cases {
        { "the record", [this](const Layout& l) { ops().deleteRecord(0, l.record); }, true },
        { "its folder", [this](const Layout& l) { ops().deleteFolder(0, l.b); }, true },
        { "a folder above it", [this](const Layout& l) { ops().deleteFolder(0, l.a); }, true },
        { "the record beside it", [this](const Layout& l) { ops().deleteRecord(0, l.beside); },
            false },
        { "another folder", [this](const Layout& l) { ops().deleteFolder(0, l.c); }, false },
        { "another collection", [this](const Layout&) { ops().clearNetworkComputers(); }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Layout l {};
        l.a = newFolder(0, 0, "A");
        l.b = newFolder(0, l.a, "B");
        l.c = newFolder(0, 0, "C");
        l.record = newRecord(0, l.b, "r");
        l.beside = newRecord(0, l.b, "s");
        ASSERT_NE(open(l.record), nullptr);
        c.remove(l);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(viewerCount(), c.closes ? 0 : 1);
        m_frame->windows().destroyAll();
        for (const int folder : { l.a, l.c }) {
            if (collection(0).folderIsLive(folder))
                ops().deleteFolder(0, folder);
        }
    }

    // A record of another user's share goes with the network computers at 切断.
    CollectionTree& network = collection(networkCollection);
    const int computer = network.addFolder(0, "bob", 0);
    const int share = network.addFolder(computer, "share", 0);
    const int remote = network.addRecord(share, newNamedRecord("game"));
    m_frame->openViewer(networkCollection, remote);
    ASSERT_EQ(viewerCount(), 1);
    ops().clearNetworkComputers();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(viewerCount(), 0);
}

TEST_F(RecordViewerTest, TheCommentFoldsAwayAndBack)
{
    RecordViewer* v = open(fullRecord("一行目\r\n二行目"));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->commentBox()->toPlainText(), u("一行目\n二行目"));
    EXPECT_TRUE(v->commentBox()->isReadOnly());
    EXPECT_EQ(v->height(), v->foldedHeight());
    EXPECT_EQ(v->foldedHeight(), v->fullHeight() - v->commentBox()->height() - 3);
    const QPoint at = v->pos();
    EXPECT_FALSE(v->unfoldButton()->isHidden());
    QTest::mouseClick(v->unfoldButton(), Qt::LeftButton);
    EXPECT_EQ(v->height(), v->fullHeight());
    EXPECT_TRUE(v->unfoldButton()->isHidden());
    EXPECT_FALSE(v->foldButton()->isHidden());
    // Unfolded, the whole comment box lies inside the window.
    EXPECT_TRUE(v->rect().contains(v->commentBox()->geometry()));
    QTest::mouseClick(v->foldButton(), Qt::LeftButton);
    EXPECT_EQ(v->height(), v->foldedHeight());
    EXPECT_FALSE(v->unfoldButton()->isHidden());
    EXPECT_EQ(v->pos(), at);
    // The window keeps its width; the board and the step buttons fit in the folded window.
    EXPECT_GE(v->width(), 243);
    EXPECT_TRUE(v->rect().contains(v->stepButton(StepButtons::Last)->geometry()));
    EXPECT_TRUE(v->rect().contains(v->blackResult()->geometry()));
}

TEST_F(RecordViewerTest, EnterEscapeAndCloseCloseTheViewer)
{
    const int slot = fullRecord();
    for (int key : { int(Qt::Key_Return), int(Qt::Key_Escape), 0 }) {
        SCOPED_TRACE(key);
        RecordViewer* v = open(slot);
        ASSERT_NE(v, nullptr);
        if (key)
            QTest::keyClick(v, static_cast<Qt::Key>(key));
        else
            v->close();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(viewerCount(), 0);
    }
}

TEST_F(RecordViewerTest, DoubleClickAndOpenInTheListOpenTheRecord)
{
    newFolder(0, 0, "dir");
    const int slot = fullRecord();
    tree().select({ myRecordsCollection, 0 });
    ASSERT_EQ(listNames(), QStringList({ u("dir"), u("決勝") }));
    const QRect folderRow = list().visualRect(list().listModel().index(0, 0));
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, folderRow.center());
    EXPECT_EQ(viewerCount(), 0);

    tree().select({ myRecordsCollection, 0 });
    const QRect recordRow = list().visualRect(list().listModel().index(1, 0));
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, recordRow.center());
    ASSERT_NE(viewerOf(slot), nullptr);
    m_frame->windows().destroyAll();
    EXPECT_EQ(viewerCount(), 0);

    list().selectionModel()->select(list().listModel().index(1, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QStringList items
        = popup([this] { list().openContextMenu(QPoint(5, 5)); }, CommandId::OpenRecord);
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(items.first(), u("開く(&O)"));
    EXPECT_NE(viewerOf(slot), nullptr);
    EXPECT_TRUE(m_prompter.calls().empty());
}

TEST_F(RecordViewerTest, TheShownPositionIsSavedAndCopiedAsADiagram)
{
    RecordViewer* v = open(fullRecord());
    ASSERT_NE(v, nullptr);
    for (int i = 0; i < 40; ++i)
        v->stepBack();
    ASSERT_EQ(v->game().cursor(), 20);
    QTemporaryDir dir;
    for (bool numbers : { false, true }) {
        SCOPED_TRACE(numbers);
        v->setDiagramNumbers(numbers);
        const BoardDiagram shown = BoardDiagram::of(v->game(), numbers);
        const QString svg = dir.filePath(QStringLiteral("shown.svg"));
        ASSERT_TRUE(v->saveDiagram(svg));
        QFile file(svg);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().toStdString(), diagramSvg(shown));
        const QString png = dir.filePath(QStringLiteral("shown.png"));
        ASSERT_TRUE(v->saveDiagram(png));
        EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), diagramImage(shown));

        v->copyDiagram();
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        ASSERT_NE(copied, nullptr);
        ASSERT_TRUE(copied->hasImage());
        EXPECT_EQ(qvariant_cast<QImage>(copied->imageData()).convertToFormat(QImage::Format_RGB32),
            diagramImage(shown));
        EXPECT_EQ(copied->data(QStringLiteral("image/svg+xml")).toStdString(), diagramSvg(shown));
    }
    // Without numbers the picture is the board the window shows.
    v->setDiagramNumbers(false);
    EXPECT_EQ(diagramImage(v->diagram()), v->picture().image());
    EXPECT_FALSE(v->saveDiagram(dir.filePath(QStringLiteral("no/such/dir.png"))));
}

TEST_F(RecordViewerTest, TheExplorerBesideTheBoardListsTheNextMovesAndStepsThere)
{
    // Three games of the own collection: two open F5 D6, one D3 C3; the viewer shows the first.
    const auto add = [this](const char* moves) {
        OthelloGame game;
        game.selectVariant(OthelloBoard::kVariantStandard);
        game.replay(textToMoves(moves));
        GameRecord record = recordFromGame(game, toSjis(u("対局")), doc().library().openingBook());
        record.endType = GameRecord::normalEnd;
        record.winner = GameRecord::blackWins;
        record.blackDiscs = 40;
        record.whiteDiscs = 24;
        return ops().newRecord(myRecordsCollection, 0, record);
    };
    const int first = add("F5D6C3D3C4");
    add("F5D6C5F4E3");
    add("D3C3C4E3F4");
    RecordViewer* v = open(first);
    ASSERT_NE(v, nullptr);
    OpeningExplorerPanel* panel = v->explorerPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_GE(panel->geometry().left(), 243);
    const auto rows = [panel] {
        QStringList texts;
        QTreeWidget* list = panel->moveList();
        for (int r = 0; r < list->topLevelItemCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < list->columnCount(); ++c)
                cells << list->topLevelItem(r)->text(c);
            texts << cells.join(QLatin1Char(' '));
        }
        return texts;
    };
    // The index is made off the GUI thread; at the end of a game nothing was played further.
    EXPECT_TRUE(QTest::qWaitFor([&] { return rows().isEmpty(); }, 5000))
        << rows().join(u("|")).toStdString();

    v->goToStart();
    EXPECT_EQ(rows(), QStringList({ u("F5 2 2 0 0 40.0"), u("D3 1 1 0 0 40.0") }));
    v->stepForward();
    EXPECT_EQ(rows(), QStringList({ u("D6 2 2 0 0 40.0"), u("F6 1 1 0 0 40.0") }));

    // A click on the record's next move steps forward; on another move it plays that move.
    QTreeWidget* list = panel->moveList();
    const auto click = [list](int row) {
        const QRect r = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    };
    click(0);
    EXPECT_EQ(v->game().cursor(), 2);
    EXPECT_EQ(v->game().length(), 5);
    EXPECT_EQ(v->moveCounter()->text(), counter(2));
    EXPECT_EQ(rows(), QStringList({ u("C3 1 1 0 0 40.0"), u("C5 1 1 0 0 40.0") }));
    click(1);
    EXPECT_EQ(v->game().cursor(), 3);
    EXPECT_EQ(v->game().length(), 3);
    EXPECT_EQ(movesToText(v->game().moves()), "F5D6C5");
    EXPECT_EQ(rows(), QStringList({ u("F4 1 1 0 0 40.0") }));
    EXPECT_FALSE(v->playSquare(0)); // A1 is no move here

    // A record added since: the list waits for the index made again, and a click on the wait
    // line plays nothing.
    add("F5F6E6F4");
    v->goToStart();
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), u("集計中…"));
    click(0);
    EXPECT_EQ(v->game().cursor(), 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return rows() == QStringList({ u("F5 3 3 0 0 40.0"), u("D3 1 1 0 0 40.0") });
        },
        5000))
        << rows().join(u("|")).toStdString();
}

} // namespace
