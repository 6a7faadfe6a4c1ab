#include "numbergrid.h"

#include "board/movenumbergrid.h"
#include "board/notation.h"
#include "board/othellogame.h"
#include "board/randomgame.h"
#include "viewer/boardimage.h"
#include "viewer/discbitmaps.h"
#include "viewer/sharedfonts.h"

#include <QFontInfo>
#include <QPainter>
#include <gtest/gtest.h>

#include <random>

namespace {

const QColor boardGreen(66, 132, 66);
const QColor lightGreen(99, 173, 99);
const QColor darkGreen(0, 66, 0);
const QColor black(0, 0, 0);
const QColor white(255, 255, 255);
const QColor grey(192, 192, 192);
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);
const QColor blackDiscCentre(52, 52, 52);
const QColor whiteDiscCentre(204, 204, 204);

int left(int column)
{
    return 12 + 27 * column;
}
int top(int row)
{
    return 12 + 27 * row;
}

OthelloGame newGame()
{
    OthelloGame game;
    game.reset();
    game.selectVariant(OthelloBoard::kVariantStandard);
    return game;
}

struct PixelCase {
    const char* what;
    int x, y;
    QColor colour;
};

void expectPixels(const QImage& image, std::initializer_list<PixelCase> cases)
{
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(image.pixelColor(c.x, c.y), c.colour) << c.x << "," << c.y;
    }
}

int countColour(const QImage& image, const QRect& area, const QColor& colour)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == colour;
    }
    return n;
}

QRect squareArea(int column, int row)
{
    return { left(column), top(row), 27, 27 };
}

TEST(DiscBitmaps, DiscsMasksAndMarkHaveTheirShapes)
{
    const DiscBitmaps& b = DiscBitmaps::instance();
    EXPECT_EQ(b.blackDisc().size(), QSize(27, 27));
    EXPECT_EQ(b.mark().size(), QSize(11, 11));
    expectPixels(b.blackDisc(),
        { { "black centre", 13, 12, blackDiscCentre }, { "surround", 1, 1, black } });
    expectPixels(b.whiteDisc(),
        { { "white centre", 13, 12, whiteDiscCentre }, { "surround", 25, 25, black } });
    // The mask is 20 pixels across: columns 4..23 and rows 3..22.
    expectPixels(b.discMask(),
        {
            { "left end", 4, 12, black },
            { "before it", 3, 12, white },
            { "right end", 23, 12, black },
            { "after it", 24, 12, white },
            { "top end", 13, 3, black },
            { "above it", 13, 2, white },
            { "bottom end", 13, 22, black },
            { "below it", 13, 23, white },
        });
    for (int y = 0; y < 27; ++y) {
        for (int x = 0; x < 27; ++x) {
            const bool on = b.discMask().pixelColor(x, y) == black;
            ASSERT_EQ(on, DiscBitmaps::onDisc(x, y)) << x << "," << y;
            // Outside the shape the discs are black, so OR leaves the square as it is.
            if (!on) {
                ASSERT_EQ(b.whiteDisc().pixelColor(x, y), black) << x << "," << y;
            }
        }
    }
    // The fringe is green.
    const QColor fringe = b.whiteDisc().pixelColor(4, 12);
    EXPECT_GT(fringe.green(), fringe.red());
    expectPixels(b.mark(),
        { { "cross row", 0, 5, red }, { "cross column", 5, 10, red }, { "ground", 4, 4, black } });
    expectPixels(b.markMask(), { { "cross", 5, 0, black }, { "ground", 6, 6, white } });
}

TEST(BoardImage, NewGameShowsTheFourDiscsOnTheGreenGrid)
{
    BoardImage picture;
    picture.paintDiscBoard(newGame());
    const QImage& image = picture.image();
    EXPECT_EQ(image.size(), QSize(240, 240));
    expectPixels(image,
        {
            { "D4 white disc", left(3) + 13, top(3) + 12, whiteDiscCentre },
            { "E5 white disc", left(4) + 13, top(4) + 12, whiteDiscCentre },
            { "E4 black disc", left(4) + 13, top(3) + 12, blackDiscCentre },
            { "D5 black disc", left(3) + 13, top(4) + 12, blackDiscCentre },
            { "A1 empty", left(0) + 13, top(0) + 12, boardGreen },
            { "beside a disc", left(3) + 2, top(3) + 12, boardGreen },
            { "left light line", 12, 100, lightGreen },
            { "top light line", 100, 12, lightGreen },
            { "inner light line", 66, 100, lightGreen },
            { "dark line", 38, 100, darkGreen },
            { "dark wins a crossing", 38, 39, darkGreen },
            { "right frame dark", 227, 100, darkGreen },
            { "bottom frame dark", 100, 227, darkGreen },
            { "star point", 65, 65, darkGreen },
            { "star point", 174, 66, darkGreen },
            { "star point corner", 64, 172, darkGreen },
            { "beside a star point", 67, 67, boardGreen },
            { "margin", 5, 230, black },
            { "right margin", 235, 100, black },
        });
    // No mark: the history is empty.
    EXPECT_EQ(countColour(image, image.rect(), red), 0);
    // Every label stands in its own strip: white text on the black margins.
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_GT(countColour(image, QRect(left(i), 0, 27, 12), white), 0);
        EXPECT_GT(countColour(image, QRect(0, top(i), 12, 27), white), 0);
    }
}

TEST(BoardImage, BlockedSquaresLookEmptyAndEmptySquaresWipeTheMask)
{
    OthelloGame game = newGame();
    BoardImage empty;
    empty.paintDiscBoard(game);
    game.setCell(board::squareAt(0, 0), board::kBlocked);
    BoardImage blocked;
    blocked.paintDiscBoard(game);
    EXPECT_EQ(blocked.image(), empty.image());
    EXPECT_EQ(
        countColour(empty.image(), squareArea(0, 0).adjusted(1, 1, -2, -2), boardGreen), 24 * 24);
}

TEST(BoardImage, TheMarkStandsInTheMiddleOfTheLastMoveOverItsDisc)
{
    OthelloGame game = newGame();
    game.playAndRecord(textToMoves("F5")[0], board::kBlack);
    BoardImage picture;
    picture.paintDiscBoard(game);
    picture.markSquare(5, 4);
    const QImage& image = picture.image();
    const int x = left(5);
    const int y = top(4);
    expectPixels(image,
        {
            { "mark centre", x + 13, y + 13, red },
            { "mark left end", x + 8, y + 13, red },
            { "mark right end", x + 18, y + 13, red },
            { "mark top end", x + 13, y + 8, red },
            { "mark bottom end", x + 13, y + 18, red },
            { "beside the cross", x + 12, y + 12,
                DiscBitmaps::instance().blackDisc().pixelColor(12, 12) },
        });
    EXPECT_EQ(countColour(image, image.rect(), red), 21);
    EXPECT_EQ(countColour(image, squareArea(5, 4), red), 21);
}

// Stepping through random games square by square must give exactly the picture a full repaint
// gives, mark included.
TEST(BoardImage, RedrawingOnlyTheChangedSquaresGivesTheFullPicture)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 3; ++round) {
        OthelloGame game = newGame();
        game.replay(randomGame(rng));
        BoardImage stepped;
        const auto markOf = [&game]() -> std::optional<BoardSquare> {
            if (const MoveEntry* entry = game.current())
                return BoardSquare { board::columnOf(entry->square), board::rowOf(entry->square) };
            return std::nullopt;
        };
        EXPECT_EQ(stepped.updateDiscBoard(game, markOf()), QRect(0, 0, 240, 240));
        const auto check = [&] {
            BoardImage full;
            full.paintDiscBoard(game);
            if (auto mark = markOf())
                full.markSquare(mark->column, mark->row);
            ASSERT_EQ(stepped.image(), full.image()) << "cursor " << game.cursor();
        };
        while (game.undo()) {
            const QRect changed = stepped.updateDiscBoard(game, markOf());
            EXPECT_FALSE(changed.isEmpty());
            EXPECT_LT(changed.width() * changed.height(), 240 * 240);
            check();
        }
        EXPECT_TRUE(stepped.updateDiscBoard(game, markOf()).isEmpty());
        while (game.redo())
            stepped.updateDiscBoard(game, markOf());
        check();
        // After the sheet the whole board is drawn again.
        stepped.paintSheet(MoveNumberGrid(), 0, 0);
        EXPECT_EQ(stepped.updateDiscBoard(game, markOf()), QRect(0, 0, 240, 240));
        check();
    }
}

TEST(BoardImage, SheetShowsDiscsAndNumbersInTheirColours)
{
    // F5 D6 C3 clean; 5 on D3 and C4 (red, 4 missing); 7 on F4 beyond the gap (blue).
    const MoveNumberGrid grid
        = gridOf({ { "F5", 1 }, { "D6", 2 }, { "C3", 3 }, { "D3", 5 }, { "C4", 5 }, { "F4", 7 } });
    BoardImage picture;
    picture.paintSheet(grid, 7, 7);
    const QImage& image = picture.image();
    expectPixels(image,
        {
            { "E4 starting black", left(4) + 12, top(3) + 12, black },
            { "D4 starting white", left(3) + 12, top(3) + 12, white },
            { "D4 outline", left(3) + 3, top(3) + 12, black },
            { "empty square", left(0) + 13, top(0) + 13, white },
            { "first line", 11, 100, black },
            { "line before column 1", 38, 100, black },
            { "square's first pixel", 12, 100, white },
            { "top line", 100, 11, black },
            { "last line", 227, 100, black },
            { "star point", 65, 65, black },
            { "margin", 5, 230, grey },
            { "cursor", left(7) + 1, top(7) + 10, red },
            { "cursor corner", left(7) + 24, top(7) + 24, red },
        });
    struct NumberCase {
        const char* square;
        QColor colour;
    };
    for (const NumberCase& c : { NumberCase { "F5", black }, NumberCase { "C3", black },
             NumberCase { "D3", red }, NumberCase { "C4", red }, NumberCase { "F4", blue } }) {
        SCOPED_TRACE(c.square);
        const int index = textToMoves(c.square)[0];
        const QRect inside
            = squareArea(board::columnOf(index), board::rowOf(index)).adjusted(1, 1, -2, -2);
        EXPECT_GT(countColour(image, inside, c.colour), 4);
        for (const QColor& other : { black, red, blue }) {
            if (other != c.colour) {
                EXPECT_EQ(countColour(image, inside, other), 0);
            }
        }
    }
    // The letters and figures stand black on the grey margins.
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_GT(countColour(image, QRect(left(i), 0, 27, 11), black), 0);
        EXPECT_GT(countColour(image, QRect(0, top(i), 11, 27), black), 0);
    }
}

TEST(BoardImage, AnErasedCursorCannotBeToldFromTheSquare)
{
    const MoveNumberGrid grid = gridOf({ { "F5", 1 } });
    BoardImage moved;
    moved.paintSheet(grid, 5, 4);
    moved.drawCursor(5, 4, false);
    moved.drawCursor(0, 0, true);
    BoardImage fresh;
    fresh.paintSheet(grid, 0, 0);
    EXPECT_EQ(moved.image(), fresh.image());
    // A number change redraws the squares; the cursor is drawn again afterwards.
    const MoveNumberGrid more = gridOf({ { "F5", 1 }, { "D6", 2 } });
    moved.paintSheetSquares(more);
    EXPECT_EQ(countColour(moved.image(), moved.image().rect(), red), 0);
    moved.drawCursor(0, 0, true);
    BoardImage again;
    again.paintSheet(more, 0, 0);
    EXPECT_EQ(moved.image(), again.image());
}

TEST(SharedFonts, FacesFallBackToTheInstalledJapaneseFontAtTheirHeights)
{
    const SharedFonts& fonts = SharedFonts::instance();
    struct Case {
        SharedFonts::Which which;
        const char* face;
        int height;
    };
    for (const Case& c : { Case { SharedFonts::Label, "ＭＳ Ｐゴシック", 12 },
             Case { SharedFonts::Number, "ＭＳ Ｐゴシック", 14 },
             Case { SharedFonts::Fixed, "ＭＳ ゴシック", 12 } }) {
        SCOPED_TRACE(c.face);
        EXPECT_EQ(SharedFonts::requestedFace(c.which), QString::fromUtf8(c.face));
        const QFont& font = fonts.font(c.which);
        EXPECT_EQ(font.pixelSize(), c.height);
        EXPECT_EQ(font.weight(), QFont::Normal);
        // Either the face itself or a Japanese one stands in: never an arbitrary Latin face.
        const QString used = QFontInfo(font).family();
        EXPECT_TRUE(used == QString::fromUtf8(c.face) || used.startsWith(QStringLiteral("IPA")))
            << used.toStdString();
    }
}

} // namespace
