#include "board/sheetcursor.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "C4" for column 2, row 3.
std::string name(const SheetCursor& cursor)
{
    return std::string(1, char('A' + cursor.column())) + char('1' + cursor.row());
}

SheetCursor at(const char* square)
{
    SheetCursor cursor;
    EXPECT_TRUE(cursor.moveTo(square[0] - 'A', square[1] - '1')) << square;
    return cursor;
}

TEST(SheetCursor, StartsAtA1AndNeverStandsOnTheCentre)
{
    SheetCursor cursor;
    EXPECT_EQ(name(cursor), "A1");
    for (const auto& [column, row] :
        { std::pair { 3, 3 }, { 4, 3 }, { 3, 4 }, { 4, 4 }, { -1, 0 }, { 0, 8 }, { 8, 8 } }) {
        EXPECT_FALSE(cursor.moveTo(column, row)) << column << "," << row;
        EXPECT_EQ(name(cursor), "A1");
    }
    EXPECT_TRUE(cursor.moveTo(7, 7));
    EXPECT_EQ(name(cursor), "H8");
}

TEST(SheetCursor, TabGoesInReadingOrder)
{
    const struct {
        const char *from, *to;
    } cases[] = {
        { "A1", "B1" },
        { "H1", "A2" },
        { "C4", "F4" },
        { "C5", "F5" },
        { "F4", "G4" },
        { "H3", "A4" },
        { "H8", "A1" },
        { "C3", "D3" },
        { "C6", "D6" },
    };
    for (const auto& c : cases) {
        SheetCursor cursor = at(c.from);
        cursor.nextInRow();
        EXPECT_EQ(name(cursor), c.to) << "from " << c.from;
    }
}

TEST(SheetCursor, EnterGoesDownTheColumn)
{
    const struct {
        const char *from, *to;
    } cases[] = {
        { "A1", "A2" },
        { "A8", "A1" },
        { "D3", "D6" },
        { "E3", "E6" },
        { "C3", "C4" },
        { "D6", "D7" },
        { "D8", "D1" },
        { "F4", "F5" },
    };
    for (const auto& c : cases) {
        SheetCursor cursor = at(c.from);
        cursor.nextInColumn();
        EXPECT_EQ(name(cursor), c.to) << "from " << c.from;
    }
}

TEST(SheetCursor, ArrowsWrapAndPassOverTheCentre)
{
    const struct {
        const char* from;
        int dColumn, dRow;
        const char* to;
    } cases[] = {
        { "A1", -1, 0, "H1" },
        { "H1", 1, 0, "A1" },
        { "A1", 0, -1, "A8" },
        { "A8", 0, 1, "A1" },
        { "C4", 1, 0, "F4" },
        { "F5", -1, 0, "C5" },
        { "D3", 0, 1, "D6" },
        { "E6", 0, -1, "E3" },
        { "B2", 1, 0, "C2" },
        { "C3", 0, 0, "C3" },
    };
    for (const auto& c : cases) {
        SheetCursor cursor = at(c.from);
        cursor.step(c.dColumn, c.dRow);
        EXPECT_EQ(name(cursor), c.to) << "from " << c.from;
    }
}

} // namespace
