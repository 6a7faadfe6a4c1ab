#include "../ui/runningprogram.h"

#include "board/notation.h"
#include "board/squares.h"
#include "records/openingbook.h"
#include "ui/listdatetext.h"
#include "viewer/openingexplorerpanel.h"
#include "viewer/picturebutton.h"
#include "viewer/previewboard.h"
#include "viewer/recordviewer.h"
#include "viewer/searchwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QThreadPool>
#include <QTreeView>
#include <QTreeWidget>

namespace {

class SearchWindowTest : public RunningProgram {
protected:
    // A record of the own collection's root: played moves in text notation, players by name
    // ("" for the unknown player), the winner and when it was played.
    int addRecord(const char* name, const char* moves, const char* black = "",
        const char* white = "", int winner = GameRecord::noWinner, int32_t playedAt = 1000000000)
    {
        GameRecord r = newNamedRecord(toSjis(u(name)));
        normaliseMoves(r, textToMoves(moves), doc().library().openingBook());
        PlayerNameTable& names = collection(0).playerNames();
        r.blackPlayer = static_cast<int16_t>(*black ? names.findOrAdd(toSjis(u(black))) : 0);
        r.whitePlayer = static_cast<int16_t>(*white ? names.findOrAdd(toSjis(u(white))) : 0);
        r.winner = static_cast<int8_t>(winner);
        r.endType = winner == GameRecord::noWinner ? GameRecord::unfinished : GameRecord::resigned;
        r.playedAt = playedAt;
        return ops().newRecord(myRecordsCollection, 0, r);
    }
    SearchWindow* open()
    {
        const int before = m_frame->windows().count();
        m_frame->openSearch({ myRecordsCollection, 0 });
        EXPECT_EQ(m_frame->windows().count(), before + 1);
        return dynamic_cast<SearchWindow*>(m_frame->windows().at(m_frame->windows().count() - 1));
    }
    // The names of the listed records, in list order.
    static QStringList results(SearchWindow* w)
    {
        QStringList names;
        const RecordListModel& model = w->resultModel();
        for (int r = 0; r < model.rowCount(); ++r)
            names << model.data(model.index(r, 0)).toString();
        return names;
    }
    static QStringList searched(SearchWindow* w)
    {
        w->searchButton()->click();
        return results(w);
    }
    static void click(SearchWindow* w, const char* square)
    {
        const MoveList move = textToMoves(square);
        const int column = board::columnOf(move[0]);
        const int row = board::rowOf(move[0]);
        QTest::mouseClick(w->preview(), Qt::LeftButton, {},
            QPoint(BoardGeometry::shownAtX + BoardGeometry::squareLeft(column) + 13,
                BoardGeometry::shownAtY + BoardGeometry::squareTop(row) + 13));
    }
    static void press(SearchWindow* w, StepButtons::Button b)
    {
        w->preview()->stepButton(b)->click();
    }
    static QString counter(SearchWindow* w) { return w->preview()->moveCounter()->text(); }
    static std::vector<bool> enabled(SearchWindow* w)
    {
        std::vector<bool> states;
        for (auto b :
            { StepButtons::First, StepButtons::Back, StepButtons::Forward, StepButtons::Last })
            states.push_back(w->preview()->stepButton(b)->isEnabled());
        return states;
    }
};

TEST_F(SearchWindowTest, OpensEmptyAndFirstSearchListsEveryRecordInTableOrder)
{
    addRecord("b", "F5D6", "山田", "佐藤");
    addRecord("a", "", "佐藤", "山田");
    addRecord("early", "F5", "", "", GameRecord::noWinner, -5);
    ops().deleteRecord(myRecordsCollection, addRecord("gone", "F5"), 0, 1);
    addRecord("c", "F5F6", "鈴木", "");

    SearchWindow* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_NE(open(), w) << "every search opens a window of its own";
    EXPECT_EQ(w->windowTitle(), u("検索"));
    EXPECT_EQ(counter(w), u(" 0 手"));
    EXPECT_EQ(enabled(w), (std::vector<bool> { false, false, false, false }));
    EXPECT_TRUE(w->orButton()->isChecked());
    EXPECT_FALSE(w->incrementalBox()->isChecked());
    EXPECT_EQ(w->resultModel().rowCount(), 0);

    // A name's position is its player index; the unknown player is not offered.
    const PlayerNameTable& names = collection(0).playerNames();
    ASSERT_EQ(w->blackList()->count(), names.size());
    EXPECT_EQ(w->blackList()->itemText(0), u("全て"));
    for (int i = 1; i < names.size(); ++i) {
        EXPECT_EQ(w->blackList()->itemText(i), fromSjis(names.name(i)));
        EXPECT_EQ(w->whiteList()->itemText(i), fromSjis(names.name(i)));
    }
    QStringList winners;
    for (int i = 0; i < w->winnerList()->count(); ++i)
        winners << w->winnerList()->itemText(i);
    EXPECT_EQ(winners, (QStringList { u("全て"), u("黒勝"), u("白勝"), u("引分") }));

    // Free slots and records played before 1970 are never listed.
    EXPECT_EQ(searched(w), (QStringList { u("b"), u("a"), u("c") }));
    const QStringList headers { u("名前"), u("黒番"), u("白番"), u("結果"), u("定石"), u("日付") };
    const std::array<int, 6> widths { 108, 80, 80, 64, 64, 104 };
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(
            w->resultModel().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), headers[c]);
        EXPECT_EQ(w->resultList()->columnWidth(c), widths[static_cast<size_t>(c)]);
    }
}

TEST_F(SearchWindowTest, PlayerListsWithOrAndAnd)
{
    addRecord("AB", "F5", "A", "B");
    addRecord("BA", "F5", "B", "A");
    addRecord("AC", "F5", "A", "C");
    addRecord("CB", "F5", "C", "B");
    addRecord("CC", "F5", "C", "C");
    SearchWindow* w = open();
    const auto index
        = [&](const char* n) { return collection(0).playerNames().find(toSjis(u(n))); };
    struct Case {
        const char* black;
        const char* white;
        bool both;
        QStringList listed;
    };
    const QStringList all { u("AB"), u("BA"), u("AC"), u("CB"), u("CC") };
    for (const Case& c : {
             Case { "A", "", false, all }, // one chosen name excludes nothing in OR
             Case { "A", "", true, { u("AB"), u("AC") } },
             Case { "", "B", true, { u("AB"), u("CB") } },
             Case { "A", "B", false, { u("AB"), u("AC"), u("CB") } },
             Case { "A", "B", true, { u("AB") } },
             Case { "B", "C", true, {} },
         }) {
        w->blackList()->setCurrentIndex(*c.black ? index(c.black) : 0);
        w->whiteList()->setCurrentIndex(*c.white ? index(c.white) : 0);
        (c.both ? w->andButton() : w->orButton())->click();
        EXPECT_EQ(searched(w), c.listed) << c.black << ' ' << c.white << ' ' << c.both;
    }
}

TEST_F(SearchWindowTest, WinnerAndDateBoxes)
{
    addRecord("black", "F5", "", "", GameRecord::blackWins, 1077800000); // 2004-02-26
    addRecord("white", "F5", "", "", GameRecord::whiteWins, 1078100000); // 2004-03-01
    addRecord("none", "F5", "", "", GameRecord::noWinner, 1000000000); // 2001-09-09
    SearchWindow* w = open();
    struct Case {
        int winner;
        std::array<const char*, 3> from;
        std::array<const char*, 3> to;
        QStringList listed;
    };
    for (const Case& c : {
             Case { 1, { "", "", "" }, { "", "", "" }, { u("black") } },
             Case { 2, { "", "", "" }, { "", "", "" }, { u("white") } },
             Case { 3, { "", "", "" }, { "", "", "" }, { u("none") } },
             // An empty day ends with the month: 29 February in 2004.
             Case { 0, { "2004", "", "" }, { "2004", "2", "" }, { u("black") } },
             Case { 0, { "1969", "12", "31" }, { "2003", "x", "" }, { u("none") } },
             Case { 0, { "2004年", "3", "1" }, { "", "", "" }, { u("white") } },
         }) {
        w->winnerList()->setCurrentIndex(c.winner);
        for (int part = 0; part < 3; ++part) {
            w->fromBox(part)->setText(u(c.from[static_cast<size_t>(part)]));
            w->toBox(part)->setText(u(c.to[static_cast<size_t>(part)]));
        }
        EXPECT_EQ(searched(w), c.listed) << c.winner << ' ' << c.from[0] << ' ' << c.to[0];
    }
}

TEST_F(SearchWindowTest, PreviewMovesAndStepsSearchAgainButLastDoesNot)
{
    addRecord("empty", "");
    addRecord("f5d6", "F5D6");
    addRecord("f5f6", "F5F6");
    addRecord("e6f4", "E6F4"); // F5D6 seen from another side
    addRecord("c4c3", "C4C3"); // F5F6 in another orientation
    SearchWindow* w = open();
    w->incrementalBox()->setChecked(true);

    // Every stored game begins with F5, and D3 is one of its symmetric images.
    click(w, "D3");
    EXPECT_EQ(counter(w), u(" 1 手"));
    EXPECT_EQ(w->preview()->sideToMove(), board::kWhite);
    EXPECT_EQ(results(w), (QStringList { u("f5d6"), u("f5f6"), u("e6f4"), u("c4c3") }));
    click(w, "C3"); // D3 C3 is F5F6 reflected
    EXPECT_EQ(results(w), (QStringList { u("f5f6"), u("c4c3") }));
    click(w, "A1"); // illegal: nothing happens
    EXPECT_EQ(counter(w), u(" 2 手"));

    press(w, StepButtons::Back);
    EXPECT_EQ(w->preview()->sideToMove(), board::kWhite);
    EXPECT_EQ(results(w).size(), 4);
    EXPECT_EQ(enabled(w), (std::vector<bool> { true, true, true, true }));
    press(w, StepButtons::First);
    EXPECT_EQ(results(w).size(), 5);
    EXPECT_EQ(enabled(w), (std::vector<bool> { false, false, true, true }));

    // 最後 moves the board and the counter but keeps what the last search found.
    press(w, StepButtons::Last);
    EXPECT_EQ(counter(w), u(" 2 手"));
    EXPECT_EQ(w->preview()->sideToMove(), board::kBlack);
    EXPECT_EQ(results(w).size(), 5);
    EXPECT_EQ(enabled(w), (std::vector<bool> { true, true, false, false }));
    press(w, StepButtons::First);
    press(w, StepButtons::Forward);
    EXPECT_EQ(results(w).size(), 4);

    // A move after stepping back drops the rest of the line. D3 E3 is F5F4, which no record has.
    click(w, "E3");
    EXPECT_EQ(w->preview()->game().length(), 2);
    EXPECT_EQ(counter(w), u(" 2 手"));
    EXPECT_EQ(results(w), (QStringList {}));

    // Without ｲﾝｸﾘﾒﾝﾀﾙｻｰﾁ the list waits for 検索.
    w->incrementalBox()->setChecked(false);
    press(w, StepButtons::First);
    EXPECT_EQ(results(w).size(), 0);
    EXPECT_EQ(searched(w).size(), 5);
}

TEST_F(SearchWindowTest, ResultRowsShowTheRecordAndOpenTheViewer)
{
    const int slot = addRecord("game", "F5D6C3", "山田", "佐藤", GameRecord::whiteWins);
    SearchWindow* w = open();
    ASSERT_EQ(searched(w).size(), 1);
    const RecordListModel& model = w->resultModel();
    const GameRecord& r = collection(0).record(slot);
    QStringList row;
    for (int c = 0; c < 6; ++c)
        row << model.data(model.index(0, c)).toString();
    EXPECT_EQ(row,
        (QStringList { u("game"), u("山田"), u("佐藤"), u("白 投了勝"),
            fromSjis(doc().library().openingBook().name(r.opening)),
            fromSjis(listdatetext::recordDate(r.playedAt)) }));
    EXPECT_FALSE(model.data(model.index(0, 0), Qt::DecorationRole).isNull());

    // A click in the list leaves the board alone; a double click opens the record.
    const QRect at = w->resultList()->visualRect(model.index(0, 1));
    QTest::mouseClick(w->resultList()->viewport(), Qt::LeftButton, {}, at.center());
    EXPECT_EQ(counter(w), u(" 0 手"));
    QTest::mouseDClick(w->resultList()->viewport(), Qt::LeftButton, {}, at.center());
    bool viewerOpen = false;
    for (int32_t i = 0; i < m_frame->windows().count(); ++i) {
        auto* v = dynamic_cast<RecordViewer*>(m_frame->windows().at(i));
        viewerOpen |= v && v->record() == slot;
    }
    EXPECT_TRUE(viewerOpen);
}

TEST_F(SearchWindowTest, ResizingMovesOnlyTheResultList)
{
    SearchWindow* w = open();
    const QRect list = w->resultList()->geometry();
    const QRect button = w->searchButton()->geometry();
    const QRect board = w->preview()->geometry();
    w->resize(w->size() + QSize(60, 40));
    EXPECT_EQ(w->resultList()->geometry(), list.adjusted(0, 0, 60, 40));
    EXPECT_EQ(w->searchButton()->geometry(), button);
    EXPECT_EQ(w->preview()->geometry(), board);
}

TEST_F(SearchWindowTest, TreeCommandOpensASearchWindowForAnyFolder)
{
    const int a = newFolder(0, 0, "A");
    treePopup({ 0, a }, CommandId::Search);
    treePopup({ yahooCollection, 0 }, CommandId::Search);
    int count = 0;
    for (int32_t i = 0; i < m_frame->windows().count(); ++i)
        count += dynamic_cast<SearchWindow*>(m_frame->windows().at(i)) != nullptr;
    EXPECT_EQ(count, 1) << "the Yahoo! Games pop-up has no 検索";
}

TEST_F(SearchWindowTest, TheExplorerFollowsThePreviewBoardAndPlaysTheMoveClicked)
{
    addRecord("a", "F5D6C3", "", "", GameRecord::blackWins);
    addRecord("b", "F5F6E6", "", "", GameRecord::whiteWins);
    addRecord("c", "F5D6C5");
    SearchWindow* w = open();
    OpeningExplorerPanel* panel = w->explorerPanel();
    ASSERT_NE(panel, nullptr);
    // Beside the board and the criteria, clear of both.
    EXPECT_FALSE(panel->geometry().intersects(w->preview()->geometry()));
    EXPECT_FALSE(panel->geometry().intersects(w->searchButton()->geometry()));
    const auto moves = [panel] {
        QStringList names;
        for (int r = 0; r < panel->moveList()->topLevelItemCount(); ++r)
            names << panel->moveList()->topLevelItem(r)->text(0) + u(" ")
                    + panel->moveList()->topLevelItem(r)->text(1);
        return names;
    };
    // The index is made off the GUI thread: the list shows one wait line until it is there.
    EXPECT_TRUE(QTest::qWaitFor([&] { return moves() == QStringList({ u("F5 3") }); }, 5000))
        << moves().join(u("|")).toStdString();
    click(w, "F5");
    EXPECT_EQ(moves(), QStringList({ u("D6 2"), u("F6 1") }));
    // A click on a move plays it on the preview board.
    QTreeWidget* list = panel->moveList();
    QTest::mouseClick(
        list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
    EXPECT_EQ(movesToText(w->preview()->game().moves()), "F5D6");
    EXPECT_EQ(moves(), QStringList({ u("C3 1"), u("C5 1") }));
    // 最初 and 最後 are followed too.
    press(w, StepButtons::First);
    EXPECT_EQ(moves(), QStringList({ u("F5 3") }));
    press(w, StepButtons::Last);
    EXPECT_EQ(moves(), QStringList({ u("C3 1"), u("C5 1") }));

    // Records change while another collection is chosen: the index being made for the first is
    // dropped, and the one shown is for the collection chosen now.
    addRecord("d", "F5D6C3");
    press(w, StepButtons::First);
    EXPECT_EQ(moves(), QStringList({ u("集計中… ") }));
    panel->setCollection(yahooCollection);
    EXPECT_TRUE(QTest::qWaitFor([&] { return moves().isEmpty(); }, 5000))
        << moves().join(u("|")).toStdString();
    panel->setCollection(myRecordsCollection);
    EXPECT_TRUE(QTest::qWaitFor([&] { return moves() == QStringList({ u("F5 4") }); }, 5000))
        << moves().join(u("|")).toStdString();

    // The window closes while an index is being made; the job finishes on its own.
    addRecord("e", "F5F6E6");
    press(w, StepButtons::Last);
    EXPECT_EQ(moves(), QStringList({ u("集計中… ") }));
    QPointer<SearchWindow> closed(w);
    w->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed.isNull(); }, 5000));
    EXPECT_TRUE(QThreadPool::globalInstance()->waitForDone(5000));
    QTest::qWait(20);
}

} // namespace
