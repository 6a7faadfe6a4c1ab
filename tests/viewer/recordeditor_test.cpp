#include "../ui/runningprogram.h"

#include "board/notation.h"
#include "board/randomgame.h"
#include "net/notices.h"
#include "viewer/boardpage.h"
#include "viewer/celledit.h"
#include "viewer/cellevents.h"
#include "viewer/infopage.h"
#include "viewer/movesheetpage.h"
#include "viewer/pressbutton.h"
#include "viewer/recordeditor.h"
#include "viewer/sheetnumbercolour.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <random>

namespace {

// "C4" for column 2, row 3, and back.
QString squareName(int column, int row)
{
    return QString(QChar('A' + column)) + QChar('1' + row);
}
std::pair<int, int> squareOf(const char* name)
{
    return { name[0] - 'A', name[1] - '1' };
}

class RecordEditorTest : public RunningProgram {
protected:
    // A record of the own collection's root with these moves as played.
    int recordOf(const MoveList& played, int folder = 0)
    {
        OthelloGame game;
        game.reset();
        game.selectVariant(OthelloBoard::kVariantStandard);
        game.replay(played);
        GameRecord record = recordFromGame(game, "game", doc().library().openingBook());
        return ops().newRecord(myRecordsCollection, folder, record);
    }
    int fullRecord()
    {
        std::mt19937 rng(3);
        MoveList moves;
        do
            moves = randomGame(rng);
        while (moves.size() != 60);
        return recordOf(moves);
    }

    std::vector<RecordEditor*> editors() const
    {
        std::vector<RecordEditor*> found;
        for (int32_t i = 0; i < m_frame->windows().count(); ++i) {
            if (auto* e = dynamic_cast<RecordEditor*>(m_frame->windows().at(i)))
                found.push_back(e);
        }
        return found;
    }
    RecordEditor* open(int slot)
    {
        const size_t before = editors().size();
        m_frame->openEditor(myRecordsCollection, slot);
        const std::vector<RecordEditor*> now = editors();
        EXPECT_EQ(now.size(), before + 1);
        if (now.size() != before + 1)
            return nullptr;
        QApplication::setActiveWindow(now.back());
        return now.back();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    // Plays a key script on the sheet, each key to the number editor while it is open and to the
    // page otherwise, the posted messages handled after each key: digits and letters as typed,
    // '\n' Enter, '\t' Tab, '!' Esc, '#' Delete, '%' F2, '<' '>' '^' 'v' the arrows.
    static void keys(MoveSheetPage* page, const char* script)
    {
        for (const char* c = script; *c; ++c) {
            QWidget* target
                = page->isEditing() ? static_cast<QWidget*>(page->cellEdit()->box()) : page;
            int key = 0;
            switch (*c) {
            case '\n':
                key = Qt::Key_Return;
                break;
            case '\t':
                key = Qt::Key_Tab;
                break;
            case '!':
                key = Qt::Key_Escape;
                break;
            case '#':
                key = Qt::Key_Delete;
                break;
            case '%':
                key = Qt::Key_F2;
                break;
            case '<':
                key = Qt::Key_Left;
                break;
            case '>':
                key = Qt::Key_Right;
                break;
            case '^':
                key = Qt::Key_Up;
                break;
            case 'v':
                key = Qt::Key_Down;
                break;
            default:
                QTest::keyClicks(target, QString(QChar(*c)));
                settle();
                continue;
            }
            QTest::keyClick(target, static_cast<Qt::Key>(key));
            settle();
        }
    }
    static void clickSquare(QWidget* page, int column, int row)
    {
        QTest::mouseClick(
            page, Qt::LeftButton, {}, QPoint(15 + 27 * column + 13, 15 + 27 * row + 13));
        settle();
    }
    static int at(const RecordEditor* e, const char* square)
    {
        const auto [column, row] = squareOf(square);
        return e->edited().grid.at(row, column);
    }
    static QString cursorOf(const MoveSheetPage* page)
    {
        return squareName(page->cursor().column(), page->cursor().row());
    }
    // The colour of each number 1..last on the sheet: k black, r red, b blue.
    static std::string colours(const MoveNumberGrid& grid, int last)
    {
        std::string text;
        for (int n = 1; n <= last; ++n) {
            const SharedColour c = sheetNumberColour(grid, n);
            text += c == SharedColour::NumberRed ? 'r' : c == SharedColour::NumberBlue ? 'b' : 'k';
        }
        return text;
    }
    // The step buttons' enabled states: 最初, 戻る, 進む, 最後.
    static std::vector<bool> enabled(const BoardPage* page)
    {
        std::vector<bool> states;
        for (auto b : { BoardPage::First, BoardPage::Back, BoardPage::Forward, BoardPage::Last })
            states.push_back(page->button(b)->isEnabled());
        return states;
    }
    // Whether the stored record replays to its last move.
    bool replaysWhole(int slot)
    {
        const GameRecord& record = collection(myRecordsCollection).record(slot);
        OthelloGame game;
        gameOfRecord(record, game);
        return game.cursor() == record.moves.size();
    }
};

const char* const opening = "F5D6C3D3C4F4C5B3C2E6C6B4"; // F5 1, D6 2, C3 3, D3 4, C4 5, …

TEST_F(RecordEditorTest, AWholeGameOpensNumberedInBlackAndAtItsEndOnTheBoard)
{
    const int slot = fullRecord();
    RecordEditor* e = open(slot);
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->windowTitle(), u("棋譜の編集"));
    EXPECT_EQ(e->tabs()->count(), 3);
    EXPECT_EQ(
        e->tabs()->tabText(0) + e->tabs()->tabText(1) + e->tabs()->tabText(2), u("棋譜盤面情報"));
    EXPECT_EQ(e->cancelButton()->text(), u("ｷｬﾝｾﾙ"));
    EXPECT_EQ(e->currentPage(), RecordEditor::SheetPage);
    EXPECT_TRUE(e->sheetPage()->isVisible());
    EXPECT_EQ(e->edited().grid.replayed(), 60);
    EXPECT_EQ(colours(e->edited().grid, 60), std::string(60, 'k'));
    EXPECT_EQ(cursorOf(e->sheetPage()), u("A1"));
    // The sheet picture shows the cursor in red and the page shows the picture.
    const QImage shown = e->sheetPage()->grab(QRect(3, 3, 240, 240)).toImage();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), e->sheetPage()->picture().image());

    e->showPage(RecordEditor::BoardGamePage);
    EXPECT_EQ(e->tabs()->currentIndex(), 1);
    EXPECT_TRUE(e->boardPage()->isVisible());
    EXPECT_FALSE(e->sheetPage()->isVisible());
    EXPECT_EQ(e->boardPage()->moveCounter()->text(), u("60 手"));
    EXPECT_EQ(enabled(e->boardPage()), std::vector<bool>({ true, true, false, false }));
    const int last = e->edited().game.current()->square;
    EXPECT_EQ(e->boardPage()->picture().image().pixelColor(
                  12 + 27 * board::columnOf(last) + 13, 12 + 27 * board::rowOf(last) + 13),
        QColor(255, 0, 0));
}

TEST_F(RecordEditorTest, KeysOnTheSheet)
{
    const struct {
        const char* start;
        const char* script;
        const char* cursor; // afterwards
        const char* square; // and the number there
        int number;
    } cases[] = {
        { "D3", "9\n", "D6", "D3", 9 }, // Enter commits and jumps past D4 and D5
        { "E3", "\n", "E6", "E3", 0 }, { "A8", "\n", "A1", "A8", 0 }, { "C4", "\t", "F4", "C4", 5 },
        { "H8", "\t", "A1", "H8", 0 }, { "B2", "12\t", "C2", "B2", 12 }, // Tab commits too
        { "C4", "61\n", "C5", "C4", 5 }, // out of range: unchanged
        { "C4", "%abc\n", "C5", "C4", 0 }, // no digits: emptied
        { "C4", "0\n", "C5", "C4", 5 }, // 0 opens with the number selected
        { "C4", "%3\n", "C5", "C4", 3 }, // so does F2, and typing replaces it
        { "C4", "%0\n", "C5", "C4", 0 },
        { "C4", "7!", "C4", "C4", 5 }, // Esc discards the number only
        { "C4", "#", "C4", "C4", 0 }, { "A1", "<", "H1", "A1", 0 }, { "A1", "^", "A8", "A1", 0 },
        { "C4", ">", "F4", "C4", 5 }, { "E6", "^", "E3", "E6", 10 },
        { "A1", "5x5\n", "A2", "A1", 5 }, { "A1", "99999999999999999999\n", "A2", "A1", 0 },
        { "A1", "-1\n", "A2", "A1", 1 }, // '-' is no sheet key
        { "A1", "%-1\n", "A2", "A1", 0 }, // −1 is out of range
    };
    const int slot = recordOf(textToMoves(opening));
    for (const auto& c : cases) {
        RecordEditor* e = open(slot);
        ASSERT_NE(e, nullptr);
        MoveSheetPage* page = e->sheetPage();
        const auto [column, row] = squareOf(c.start);
        // A click on the cursor's own square would open the number editor.
        if (cursorOf(page) != u(c.start))
            clickSquare(page, column, row);
        ASSERT_EQ(cursorOf(page), u(c.start));
        keys(page, c.script);
        EXPECT_FALSE(page->isEditing()) << c.start << " " << c.script;
        EXPECT_EQ(cursorOf(page), u(c.cursor)) << c.start << " " << c.script;
        EXPECT_EQ(at(e, c.square), c.number) << c.start << " " << c.script;
        e->reject();
    }
    // The editors closed without touching the record.
    settle();
    EXPECT_TRUE(editors().empty());
    EXPECT_EQ(movesToText(playedMoves(collection(0).record(slot))), opening);
}

TEST_F(RecordEditorTest, TheNumberEditorCoversTheSquareAndTheKeypadTypesToo)
{
    RecordEditor* e = open(recordOf(textToMoves(opening)));
    ASSERT_NE(e, nullptr);
    MoveSheetPage* page = e->sheetPage();
    clickSquare(page, 2, 3); // C4, the cursor moves there
    EXPECT_FALSE(page->isEditing());
    clickSquare(page, 2, 3); // the cursor's own square: its number, selected
    ASSERT_TRUE(page->isEditing());
    EXPECT_TRUE(page->cellEdit()->isVisible());
    EXPECT_EQ(page->cellEdit()->geometry(), QRect(15 + 54, 15 + 81, 27, 27));
    EXPECT_EQ(page->cellEdit()->box()->text(), u("5"));
    EXPECT_EQ(page->cellEdit()->box()->selectedText(), u("5"));
    // A click elsewhere commits the number and moves the cursor.
    QTest::keyClicks(page->cellEdit()->box(), u("8"));
    clickSquare(page, 0, 0);
    EXPECT_FALSE(page->isEditing());
    EXPECT_FALSE(page->cellEdit()->isVisible());
    EXPECT_EQ(at(e, "C4"), 8);
    EXPECT_EQ(cursorOf(page), u("A1"));
    // The centre squares take no click.
    clickSquare(page, 3, 3);
    clickSquare(page, 4, 4);
    EXPECT_EQ(cursorOf(page), u("A1"));
    EXPECT_FALSE(page->isEditing());

    QTest::keyClick(page, Qt::Key_4, Qt::KeypadModifier);
    settle();
    ASSERT_TRUE(page->isEditing());
    EXPECT_EQ(page->cellEdit()->box()->text(), u("4"));
    QTest::keyClick(page->cellEdit()->box(), Qt::Key_Enter, Qt::KeypadModifier);
    settle();
    EXPECT_EQ(at(e, "A1"), 4);
    // An Enter message that comes when no number is typed is ignored.
    QApplication::postEvent(page, new CellEvent(MSG_CELL_EDIT_DONE, 0));
    settle();
    EXPECT_EQ(cursorOf(page), u("A2"));
    EXPECT_TRUE(e->isVisible());
}

TEST_F(RecordEditorTest, KeysTypedBeforeTheQueuedMessagesRunKeepTheirOrder)
{
    RecordEditor* e = open(recordOf(textToMoves(opening)));
    ASSERT_NE(e, nullptr);
    MoveSheetPage* page = e->sheetPage();
    // Three keys arrive at the page before any of its messages is handled.
    QTest::keyClick(page, Qt::Key_1);
    QTest::keyClick(page, Qt::Key_7);
    QTest::keyClick(page, Qt::Key_Return);
    settle();
    EXPECT_FALSE(page->isEditing());
    EXPECT_EQ(at(e, "A1"), 17);
    EXPECT_EQ(cursorOf(page), u("A2"));
}

TEST_F(RecordEditorTest, SheetColoursShowDuplicatesAndGaps)
{
    const struct {
        const char* script; // typed from the cursor on A1
        const char* colours; // of the numbers 1..12
        int replayed;
    } cases[] = {
        { "", "kkkkkkkkkkkk", 12 }, { "5\n", "kkkkrbbbbbbb", 4 }, // a second 5 on A1
        { "13\n", "kkkkkkkkkkkk", 12 }, // a 13 on A1 follows on from 12
    };
    const int slot = recordOf(textToMoves(opening));
    for (const auto& c : cases) {
        RecordEditor* e = open(slot);
        ASSERT_NE(e, nullptr);
        keys(e->sheetPage(), c.script);
        EXPECT_EQ(colours(e->edited().grid, 12), c.colours) << c.script;
        EXPECT_EQ(e->edited().grid.replayed(), c.replayed);
        e->reject();
    }
    // A gap: C3 (move 3) emptied.
    RecordEditor* e = open(slot);
    ASSERT_NE(e, nullptr);
    clickSquare(e->sheetPage(), 2, 2);
    keys(e->sheetPage(), "#");
    EXPECT_EQ(colours(e->edited().grid, 12), "kkbbbbbbbbbb");
    EXPECT_EQ(e->edited().game.cursor(), 2);
    // The picture draws a duplicate in red.
    clickSquare(e->sheetPage(), 0, 0);
    keys(e->sheetPage(), "1\n");
    const QImage& picture = e->sheetPage()->picture().image();
    int red = 0;
    for (int y = 12; y < 12 + 27; ++y) {
        for (int x = 12; x < 12 + 27; ++x)
            red += picture.pixelColor(x, y) == QColor(255, 0, 0);
    }
    EXPECT_GT(red, 3);
}

TEST_F(RecordEditorTest, ClicksOnTheBoardPlayAndRenumberTheSheet)
{
    const int slot = fullRecord();
    RecordEditor* e = open(slot);
    ASSERT_NE(e, nullptr);
    const MoveList whole = e->edited().game.moves();
    e->showPage(RecordEditor::BoardGamePage);
    BoardPage* page = e->boardPage();
    QTest::mouseClick(page->button(BoardPage::First), Qt::LeftButton);
    EXPECT_EQ(e->edited().game.cursor(), 0);
    EXPECT_EQ(e->edited().sideToMove, board::kBlack);
    for (int i = 0; i < 20; ++i)
        QTest::mousePress(page->button(BoardPage::Forward), Qt::LeftButton);
    QTest::mouseRelease(page->button(BoardPage::Forward), Qt::LeftButton);
    ASSERT_EQ(e->edited().game.cursor(), 20);
    EXPECT_EQ(page->moveCounter()->text(), u("20 手"));
    // Keyboard activation of 進む does nothing.
    page->button(BoardPage::Forward)->click();
    EXPECT_EQ(e->edited().game.cursor(), 20);

    // An illegal square (an occupied one) changes nothing.
    const int taken = whole[0];
    EXPECT_FALSE(page->playAt(board::columnOf(taken), board::rowOf(taken)));
    clickSquare(page, board::columnOf(taken), board::rowOf(taken));
    EXPECT_EQ(e->edited().game.cursor(), 20);
    EXPECT_EQ(e->edited().game.length(), 60);

    // A legal square other than the recorded move 21.
    const int side = e->edited().sideToMove;
    int chosen = -1;
    for (int r = 0; r < 8 && chosen < 0; ++r) {
        for (int c = 0; c < 8 && chosen < 0; ++c) {
            const int square = board::squareAt(r, c);
            OthelloGame probe = e->edited().game;
            if (square != whole[20] && probe.playAndRecord(square, side))
                chosen = square;
        }
    }
    ASSERT_GE(chosen, 0);
    const int oldColumn = board::columnOf(whole[20]), oldRow = board::rowOf(whole[20]);
    clickSquare(page, board::columnOf(chosen), board::rowOf(chosen));
    EXPECT_EQ(e->edited().game.cursor(), 21);
    EXPECT_EQ(e->edited().game.length(), 21);
    EXPECT_EQ(page->moveCounter()->text(), u("21 手"));
    EXPECT_EQ(enabled(page), std::vector<bool>({ true, true, false, false }));
    EXPECT_EQ(e->edited().grid.at(board::rowOf(chosen), board::columnOf(chosen)), 21);
    EXPECT_EQ(e->edited().grid.at(oldRow, oldColumn), 0);
    EXPECT_EQ(e->edited().grid.counter(21), 1);

    // Back on the sheet the replay runs through the new move and on through the old numbers as
    // far as they stay legal.
    e->showPage(RecordEditor::SheetPage);
    EXPECT_GE(e->edited().grid.replayed(), 21);
    EXPECT_EQ(e->edited().game.cursor(), e->edited().grid.replayed());
    EXPECT_EQ(e->edited().game.moves()[20], chosen);
    e->save();
    settle();
    EXPECT_TRUE(editors().empty());
    EXPECT_EQ(playedMoves(collection(0).record(slot))[20], chosen);
    EXPECT_TRUE(replaysWhole(slot));
}

TEST_F(RecordEditorTest, SteppingBackThenOkSavesTheWholeGame)
{
    const int slot = fullRecord();
    const MoveList before = playedMoves(collection(0).record(slot));
    RecordEditor* e = open(slot);
    ASSERT_NE(e, nullptr);
    e->showPage(RecordEditor::BoardGamePage);
    QTest::mouseClick(e->boardPage()->button(BoardPage::First), Qt::LeftButton);
    QTest::mousePress(e->boardPage()->button(BoardPage::Forward), Qt::LeftButton);
    EXPECT_EQ(e->edited().game.cursor(), 1);
    QTest::mouseClick(e->okButton(), Qt::LeftButton);
    settle();
    EXPECT_EQ(playedMoves(collection(0).record(slot)), before);
}

TEST_F(RecordEditorTest, TheDetailsPageOpensWithTheRecordAndSavesWhatIsTyped)
{
    const int slot = recordOf(textToMoves(opening));
    {
        GameRecord& r = collection(0).recordForEdit(slot);
        r.winner = GameRecord::noWinner;
        r.endType = GameRecord::unfinished;
        r.blackDiscs = 12;
        r.comment = toSjis(u("一行目\r\n二行目"));
    }
    RecordEditor* e = open(slot);
    ASSERT_NE(e, nullptr);
    e->showPage(RecordEditor::DetailsPage);
    InfoPage* info = e->infoPage();
    EXPECT_TRUE(info->draw()->isChecked());
    EXPECT_EQ(info->endType()->currentText(), u("途中終了"));
    EXPECT_EQ(info->endType()->count(), 5);
    EXPECT_EQ(info->blackName()->currentText(), u("不明"));
    EXPECT_EQ(info->blackName()->count(), collection(0).playerNames().size());
    EXPECT_EQ(info->blackDiscs()->text(), u("12"));
    EXPECT_EQ(info->comment()->toPlainText(), u("一行目\n二行目"));

    const int names = collection(0).playerNames().size();
    info->blackName()->setEditText(u("黒田"));
    info->whiteName()->setEditText(u("白石"));
    info->blackDiscs()->setText(u("65"));
    info->whiteDiscs()->setText(u("300"));
    info->whiteWins()->setChecked(true);
    info->endType()->setCurrentIndex(1);
    info->year()->setText(u("2004"));
    info->month()->setText(u("2"));
    info->day()->setText(u("30"));
    info->hour()->setText(u("9"));
    info->minute()->setText(u("15"));
    info->second()->setText(u("0"));
    info->comment()->setPlainText(u("a\nb"));
    // Enter and Esc in the form neither save nor close.
    QTest::keyClick(info->year(), Qt::Key_Return);
    QTest::keyClick(info->year(), Qt::Key_Escape);
    settle();
    ASSERT_EQ(editors().size(), 1u);
    QTest::mouseClick(e->okButton(), Qt::LeftButton);
    settle();
    EXPECT_TRUE(editors().empty());

    const GameRecord& saved = collection(0).record(slot);
    EXPECT_EQ(saved.blackPlayer, names);
    EXPECT_EQ(saved.whitePlayer, names + 1);
    EXPECT_EQ(fromSjis(collection(0).playerNames().name(names)), u("黒田"));
    EXPECT_EQ(saved.blackDiscs, 0);
    EXPECT_EQ(saved.whiteDiscs, 44);
    EXPECT_EQ(saved.winner, GameRecord::whiteWins);
    EXPECT_EQ(saved.endType, GameRecord::resigned);
    EXPECT_EQ(QDateTime::fromSecsSinceEpoch(saved.playedAt).toString(u("yyyy-MM-dd hh:mm:ss")),
        u("2004-03-01 09:15:00"));
    EXPECT_EQ(saved.comment, "a\r\nb");
    EXPECT_EQ(fromSjis(saved.name), u("game"));
    EXPECT_EQ(movesToText(playedMoves(saved)), opening);
}

TEST_F(RecordEditorTest, RemovingTheRecordOrAFolderAboveItClosesWithoutSaving)
{
    const int folder = newFolder(myRecordsCollection, 0, "A");
    const int inner = newFolder(myRecordsCollection, folder, "B");
    const int other = newFolder(myRecordsCollection, 0, "C");
    const int slot = recordOf(textToMoves(opening), inner);
    const int neighbour = recordOf(textToMoves(opening), inner);
    settings().delconfirm = 0;

    RecordEditor* e = open(slot);
    ASSERT_NE(e, nullptr);
    keys(e->sheetPage(), "#\t#"); // edits that must not be saved
    // Notices about other records and folders leave it open.
    EXPECT_EQ(e->onWindow(WindowNotice(WindowRecordRemoved, libraryNoticeKey(0, neighbour)), 0),
        noticeIgnored);
    EXPECT_EQ(e->onWindow(WindowNotice(WindowRecordRemoved, libraryNoticeKey(2, slot)), 0),
        noticeIgnored);
    EXPECT_EQ(e->onWindow(WindowNotice(WindowFolderRemoved, libraryNoticeKey(0, other)), 0),
        noticeIgnored);
    EXPECT_EQ(
        e->onWindow(WindowNotice(WindowViewRecord, libraryNoticeKey(0, slot)), 0), noticeIgnored);
    settle();
    ASSERT_EQ(editors().size(), 1u);

    ops().deleteFolder(myRecordsCollection, folder);
    settle();
    EXPECT_TRUE(editors().empty());

    // In the trash now; a record deleted from its folder closes its editor as well.
    const int again = recordOf(textToMoves(opening));
    open(again);
    open(again);
    ASSERT_EQ(editors().size(), 2u);
    ops().deleteRecord(myRecordsCollection, again);
    settle();
    EXPECT_TRUE(editors().empty());
}

TEST_F(RecordEditorTest, TwoEditorsOfOneRecordTheLastSaveWins)
{
    const int slot = recordOf(textToMoves(opening));
    RecordEditor* first = open(slot);
    RecordEditor* second = open(slot);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(first, second);
    first->infoPage()->blackDiscs()->setText(u("10"));
    second->infoPage()->blackDiscs()->setText(u("20"));
    second->save();
    first->save();
    settle();
    EXPECT_EQ(collection(0).record(slot).blackDiscs, 10);
}

TEST_F(RecordEditorTest, TheListsEditCommandOpensANewEditorEveryTime)
{
    const int slot = recordOf(textToMoves(opening));
    tree().select({ myRecordsCollection, 0 });
    ASSERT_EQ(listNames(), QStringList({ u("game") }));
    for (int i = 1; i <= 2; ++i) {
        list().selectionModel()->select(list().listModel().index(0, 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        popup([this] { list().openContextMenu(QPoint(5, 5)); }, CommandId::EditRecord);
        ASSERT_EQ(editors().size(), static_cast<size_t>(i));
        EXPECT_EQ(editors().back()->record(), slot);
    }
    EXPECT_TRUE(m_prompter.calls().empty());
    // Saving updates the record's row.
    editors().back()->infoPage()->blackName()->setEditText(u("新人"));
    editors().back()->save();
    settle();
    const QModelIndex black = list().listModel().index(0, 1);
    EXPECT_EQ(list().listModel().data(black).toString(), u("新人"));
}

TEST_F(RecordEditorTest, AnyTypingAndPastingLeavesARecordThatReplays)
{
    std::mt19937 rng(21);
    const int slot = fullRecord();
    const char pool[] = "0123456789-+ a\n\t#<>^v%";
    for (int round = 0; round < 6; ++round) {
        RecordEditor* e = open(slot);
        ASSERT_NE(e, nullptr);
        MoveSheetPage* page = e->sheetPage();
        for (int step = 0; step < 40; ++step) {
            clickSquare(page, static_cast<int>(rng() % 8), static_cast<int>(rng() % 8));
            if (rng() % 3 == 0) {
                // A paste of any text into the number editor.
                keys(page, "%");
                std::string junk;
                for (int i = static_cast<int>(rng() % 30); i > 0; --i)
                    junk += static_cast<char>(rng() % 2 ? '0' + rng() % 10 : 1 + rng() % 255);
                QApplication::clipboard()->setText(QString::fromLatin1(junk));
                if (page->isEditing())
                    QTest::keyClick(page->cellEdit()->box(), Qt::Key_V, Qt::ControlModifier);
                keys(page, "\n");
            } else {
                char script[4] = {};
                for (int i = 0; i < 3; ++i)
                    script[i] = pool[rng() % (sizeof pool - 1)];
                keys(page, script);
            }
            // The game is always what the sheet replays to.
            EXPECT_EQ(e->edited().game.cursor(), e->edited().grid.replayed());
        }
        if (page->isEditing())
            keys(page, "!");
        e->showPage(round % 2 ? RecordEditor::BoardGamePage : RecordEditor::SheetPage);
        e->save();
        settle();
        EXPECT_TRUE(replaysWhole(slot));
    }
}

} // namespace
