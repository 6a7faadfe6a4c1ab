#include "board/boarddiagram.h"
#include "board/notation.h"
#include "board/othellogame.h"
#include "buildpaths.h"
#include "records/collectionfile.h"
#include "records/gamerecord.h"
#include "viewer/boardgeometry.h"
#include "viewer/diagramimage.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace board;

namespace {

// What an SVG diagram shows: the discs by the square under their centres, and the numbers.
struct SvgContent {
    std::map<int, int> discs; // square → kBlack or kWhite
    std::map<int, int> numbers; // square → number
    int marks = 0;
};

int squareUnder(double x, double y)
{
    const int column = static_cast<int>((x - BoardGeometry::originX) / BoardGeometry::square);
    const int row = static_cast<int>((y - BoardGeometry::originY) / BoardGeometry::square);
    return column >= 0 && column < 8 && row >= 0 && row < 8 ? row * 8 + column : -1;
}

// Parses the whole document; a document that is not well-formed fails the test.
SvgContent parseSvg(const std::string& svg)
{
    SvgContent content;
    QXmlStreamReader xml(QByteArray::fromStdString(svg));
    bool sawRoot = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("svg")) {
            sawRoot = true;
            EXPECT_EQ(a.value(QLatin1String("width")), QLatin1String("240"));
            EXPECT_EQ(xml.namespaceUri(), QLatin1String("http://www.w3.org/2000/svg"));
        } else if (xml.name() == QLatin1String("circle")) {
            const int at = squareUnder(
                a.value(QLatin1String("cx")).toDouble(), a.value(QLatin1String("cy")).toDouble());
            EXPECT_GE(at, 0);
            EXPECT_FALSE(content.discs.contains(at)) << "two discs on one square";
            content.discs[at]
                = a.value(QLatin1String("class")) == QLatin1String("black") ? kBlack : kWhite;
        } else if (xml.name() == QLatin1String("text")
            && a.value(QLatin1String("class")) == QLatin1String("number")) {
            const int at = squareUnder(
                a.value(QLatin1String("x")).toDouble(), a.value(QLatin1String("y")).toDouble());
            content.numbers[at] = xml.readElementText().toInt();
        } else if (xml.name() == QLatin1String("g")
            && a.value(QLatin1String("class")) == QLatin1String("mark")) {
            ++content.marks;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(sawRoot);
    return content;
}

OthelloGame gameOf(const char* moves, int shown)
{
    OthelloGame game;
    game.selectVariant(OthelloBoard::kVariantStandard);
    game.replay(textToMoves(moves));
    while (game.cursor() > shown && game.undo()) { }
    return game;
}

// The colour class of a picture's pixel: discs are shaded greys, empty squares board green.
int pixelKind(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    if (c.green() > c.red() + 30)
        return kEmpty;
    return c.red() < 128 ? kBlack : kWhite;
}

void expectPicture(const QImage& image, const BoardDiagram& d)
{
    ASSERT_EQ(image.size(), QSize(240, 240));
    for (int at = 0; at < 64; ++at) {
        // Near the top of the disc's shape, above the last-move cross and the move numbers.
        const int x = BoardGeometry::squareLeft(at % 8) + 13;
        const int y = BoardGeometry::squareTop(at / 8) + 4;
        EXPECT_EQ(pixelKind(image, x, y), d.cells[at]) << "square " << at;
    }
}

struct ShownCase {
    const char* moves;
    int shown;
};

const ShownCase shownCases[] = { { "", 0 }, { "F5", 1 }, { "F5D6C3D3C4F4C5B3C2", 9 },
    { "F5D6C3D3C4F4C5B3C2", 4 }, { "F5F4E3F6D3", 5 } };

TEST(DiagramSvg, ShowsEveryDiscAndNumberOfThePosition)
{
    for (const ShownCase& c : shownCases) {
        for (bool numbers : { false, true }) {
            SCOPED_TRACE(std::string(c.moves) + " at " + std::to_string(c.shown)
                + (numbers ? " numbered" : ""));
            const BoardDiagram d = BoardDiagram::of(gameOf(c.moves, c.shown), numbers);
            const SvgContent svg = parseSvg(diagramSvg(d));
            std::map<int, int> discs;
            std::map<int, int> shownNumbers;
            for (int at = 0; at < 64; ++at) {
                if (d.cells[at] != kEmpty)
                    discs[at] = d.cells[at];
                if (numbers && d.numbers[at] != 0)
                    shownNumbers[at] = d.numbers[at];
            }
            EXPECT_EQ(svg.discs, discs);
            EXPECT_EQ(svg.numbers, shownNumbers);
            EXPECT_EQ(static_cast<int>(shownNumbers.size()), numbers ? c.shown : 0);
            EXPECT_EQ(svg.marks, !numbers && c.shown > 0 ? 1 : 0);
        }
    }
}

TEST(DiagramImage, SquareCentresHaveTheDiscColours)
{
    for (const ShownCase& c : shownCases) {
        SCOPED_TRACE(std::string(c.moves) + " at " + std::to_string(c.shown));
        const BoardDiagram plain = BoardDiagram::of(gameOf(c.moves, c.shown), false);
        const QImage image = diagramImage(plain);
        expectPicture(image, plain);
        if (plain.lastMove >= 0) {
            // The red cross runs through the middle of the last move's square.
            const QColor mark = image.pixelColor(BoardGeometry::squareLeft(plain.lastMove % 8) + 13,
                BoardGeometry::squareTop(plain.lastMove / 8) + 13);
            EXPECT_EQ(mark, QColor(255, 0, 0));
        }
        // The numbers are drawn on the discs only: every square without one is as before.
        BoardDiagram numbered = plain;
        numbered.showNumbers = true;
        const QImage withNumbers = diagramImage(numbered);
        for (int at = 0; at < 64; ++at) {
            if (numbered.numbers[at] != 0 || at == plain.lastMove)
                continue;
            const QRect square(BoardGeometry::squareLeft(at % 8), BoardGeometry::squareTop(at / 8),
                BoardGeometry::square, BoardGeometry::square);
            EXPECT_EQ(withNumbers.copy(square), image.copy(square)) << "square " << at;
        }
        for (int at = 0; at < 64; ++at) {
            if (numbered.numbers[at] == 0)
                continue;
            // Some of the number's pixels stand out from the disc: white on black, black on white.
            const QImage disc = withNumbers.copy(BoardGeometry::squareLeft(at % 8) + 4,
                BoardGeometry::squareTop(at / 8) + 3, 20, 20);
            const QColor ink = numbered.cells[at] == kBlack ? Qt::white : Qt::black;
            int inked = 0;
            for (int y = 0; y < disc.height(); ++y) {
                for (int x = 0; x < disc.width(); ++x)
                    inked += disc.pixelColor(x, y) == ink;
            }
            EXPECT_GT(inked, 5) << "square " << at;
        }
    }
}

// The command line draws a record of a collection file at a move, as SVG and as PNG.
TEST(DiagramCommand, WritesSvgAndPngOfARecordAtAMove)
{
    QTemporaryDir dir;
    const QString kif = dir.filePath(QStringLiteral("games.kif"));
    QProcess gen;
    gen.start(QStringLiteral(PAVIONE_CLI_PATH),
        { QStringLiteral("gen"), QStringLiteral("--records"), QStringLiteral("3"),
            QStringLiteral("--seed"), QStringLiteral("7"), kif });
    ASSERT_TRUE(gen.waitForFinished(30000));
    ASSERT_EQ(gen.exitCode(), 0);
    RecordCollection collection;
    ASSERT_EQ(loadCollection(kif.toStdString(), collection, OpeningBook {}), 0);
    ASSERT_GE(collection.records.size(), 2u);
    OthelloGame game;
    gameOfRecord(collection.records[1], game);
    while (game.cursor() > 12 && game.undo()) { }
    const BoardDiagram expected = BoardDiagram::of(game, true);

    for (const char* name : { "at12.svg", "at12.png" }) {
        SCOPED_TRACE(name);
        const QString out = dir.filePath(QString::fromLatin1(name));
        QProcess cli;
        cli.start(QStringLiteral(PAVIONE_CLI_PATH),
            { QStringLiteral("diagram"), kif, QStringLiteral("1"), QStringLiteral("--move"),
                QStringLiteral("12"), QStringLiteral("--numbers"), out });
        ASSERT_TRUE(cli.waitForFinished(30000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        if (out.endsWith(QStringLiteral(".svg"))) {
            QFile file(out);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll().toStdString(), diagramSvg(expected));
        } else {
            const QImage image(out);
            expectPicture(image.convertToFormat(QImage::Format_RGB32), expected);
        }
    }

    // A move beyond the record, a missing slot and an unknown picture kind are refused.
    const QStringList refused[] = {
        { QStringLiteral("diagram"), kif, QStringLiteral("1"), QStringLiteral("--move"),
            QStringLiteral("61"), dir.filePath(QStringLiteral("x.svg")) },
        { QStringLiteral("diagram"), kif, QStringLiteral("99"),
            dir.filePath(QStringLiteral("x.svg")) },
        { QStringLiteral("diagram"), kif, QStringLiteral("1"),
            dir.filePath(QStringLiteral("x.gif")) },
    };
    for (const QStringList& args : refused) {
        QProcess cli;
        cli.start(QStringLiteral(PAVIONE_CLI_PATH), args);
        ASSERT_TRUE(cli.waitForFinished(30000));
        EXPECT_NE(cli.exitCode(), 0) << args.join(QLatin1Char(' ')).toStdString();
    }
}

} // namespace
