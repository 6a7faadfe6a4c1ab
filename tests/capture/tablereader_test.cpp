#include "capture/disccolourtable.h"
#include "capture/tablelayout.h"
#include "capture/tablepicture.h"
#include "capture/tablereader.h"
#include "capture/tabletitle.h"

#include <gtest/gtest.h>

namespace {

TableScene sceneWithDiscs(int layout)
{
    TableScene scene;
    scene.layout = layout;
    // Every cell a different pattern: row and column decide the code.
    for (int i = 0; i < 64; ++i)
        scene.cells[static_cast<size_t>(i)] = static_cast<uint8_t>((i * 7 + i / 8) % 3);
    scene.marked = 9;
    scene.upperName = "alice";
    scene.lowerName = "Bob99";
    return scene;
}

// A function rather than a global: the title's fixed texts are not ready during static
// initialisation.
std::string title()
{
    return tabletitle::make("room", 5, "host");
}

TEST(TableReader, ReadsBothLayouts)
{
    for (const int layout : { 0, 1 }) {
        for (const bool blackUpper : { true, false }) {
            SCOPED_TRACE(
                testing::Message() << "layout " << layout << " black upper " << blackUpper);
            TableScene scene = sceneWithDiscs(layout);
            scene.blackUpper = blackUpper;
            Picture picture = tablepicture::draw(scene);
            EXPECT_EQ(tablelayout::choose(picture.at(tablelayout::kChoiceX, tablelayout::kChoiceY)),
                layout);
            TableSnapshot s;
            ASSERT_EQ(tablereader::readTable(picture, title(), s), 0);
            EXPECT_EQ(s.cells, scene.cells);
            int black = 0, white = 0;
            for (uint8_t c : scene.cells) {
                black += c == 1;
                white += c == 2;
            }
            EXPECT_EQ(s.blackCount, black);
            EXPECT_EQ(s.whiteCount, white);
            // The upper name is Black's while the probe is black; otherwise the names change place.
            EXPECT_EQ(s.blackName, blackUpper ? "alice" : "Bob99");
            EXPECT_EQ(s.whiteName, blackUpper ? "Bob99" : "alice");
            EXPECT_EQ(s.room, "room");
            EXPECT_EQ(s.table, 5);
            EXPECT_EQ(s.host, "host");
        }
    }
}

TEST(TableReader, ClassifiesColoursWithinSixteen)
{
    const struct {
        Rgb colour;
        int code;
    } cases[] = {
        { { 66, 130, 66 }, 0 },
        { { 50, 146, 82 }, 0 },
        { { 99, 162, 99 }, 0 },
        { { 115, 178, 115 }, 0 },
        { { 99, 97, 99 }, 1 },
        { { 83, 113, 115 }, 1 },
        { { 181, 182, 181 }, 2 },
        { { 197, 198, 165 }, 2 },
        { { 99, 97, 116 }, -1 },
        { { 49, 130, 66 }, -1 },
        { { 0, 0, 0 }, -1 },
        { { 255, 255, 255 }, -1 },
        // The grey of a result report is near enough to white.
        { { 192, 192, 192 }, 2 },
        { { 198, 198, 198 }, -1 },
        // Between the two greens, the first entry wins; both are empty anyway.
        { { 82, 146, 82 }, 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(disccolourtable::classify(c.colour), c.code)
            << int(c.colour.red) << "," << int(c.colour.green) << "," << int(c.colour.blue);
}

TEST(TableReader, AnUnknownCellColourFailsTheWholeReading)
{
    for (const int cell : { 0, 27, 36, 63 }) {
        TableScene scene = sceneWithDiscs(0);
        Picture picture = tablepicture::draw(scene);
        const TableLayout& layout = tablelayout::layout(0);
        picture.set(layout.cellX(cell % 8), layout.cellY(cell / 8), { 255, 0, 0 });
        TableSnapshot s;
        s.blackName = "stale";
        EXPECT_EQ(tablereader::readTable(picture, title(), s), -1) << cell;
        EXPECT_EQ(s.blackCount, -1);
        EXPECT_EQ(s.whiteCount, -1);
        EXPECT_EQ(s.blackName, "");
        EXPECT_EQ(s.whiteName, "");
    }
}

TEST(TableReader, ReadsRowsFiveOffTheCentre)
{
    // The upper four rows are read 5 pixels above the centre, the lower four 5 below.
    const TableLayout& layout = tablelayout::layout(1);
    EXPECT_EQ(layout.cellY(0), 90);
    EXPECT_EQ(layout.cellY(3), 95 + 90 - 5);
    EXPECT_EQ(layout.cellY(4), 95 + 120 + 5);
    EXPECT_EQ(layout.cellX(7), 160 + 210);
    Picture picture = tablepicture::draw(sceneWithDiscs(1));
    picture.set(layout.cellX(2), layout.cellY(5) - 10, { 255, 0, 0 }); // off the reading point
    TableSnapshot s;
    EXPECT_EQ(tablereader::readTable(picture, title(), s), 0);
}

TEST(TableReader, PicturesThatAreNoTableFail)
{
    TableSnapshot s;
    Picture blank(680, 470, { 255, 255, 255 });
    EXPECT_EQ(tablereader::readTable(blank, title(), s), -1);
    Picture tiny(20, 20, { 66, 130, 66 });
    EXPECT_EQ(tablereader::readTable(tiny, title(), s), -1);
    Picture allGreen(680, 470, { 66, 130, 66 });
    EXPECT_EQ(tablereader::readTable(allGreen, title(), s), 0)
        << "a green window reads as an empty board";
    EXPECT_EQ(s.blackCount + s.whiteCount, 0);
    EXPECT_EQ(s.blackName, "");
}

TEST(TableReader, AnUnparsedTitleStillReadsTheBoard)
{
    Picture picture = tablepicture::draw(sceneWithDiscs(0));
    TableSnapshot s;
    s.room = "old";
    EXPECT_EQ(tablereader::readTable(picture, "\x83\x51\x81\x5B\x83\x80\x81\x46Othello", s), 0);
    EXPECT_EQ(s.room, "");
    EXPECT_EQ(s.table, 0);
}

} // namespace
