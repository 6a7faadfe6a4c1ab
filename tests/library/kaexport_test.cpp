#include "library/kaexport.h"

#include "../records/tempdir.h"
#include "board/notation.h"
#include "board/randomgame.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// A collection with a root (0) and two folders below it (1 and 2).
RecordCollection twoFolders()
{
    RecordCollection c;
    c.folders.resize(3);
    c.folders[0].children = { 1, 2 };
    c.folders[1].parent = 0;
    c.folders[1].name = "A";
    c.folders[2].parent = 0;
    c.folders[2].name = "B";
    return c;
}

int addRecord(RecordCollection& c, int folder, GameRecord r)
{
    r.folder = int16_t(folder);
    c.records.push_back(std::move(r));
    const int index = int(c.records.size()) - 1;
    c.folders[size_t(folder)].records.push_back(index);
    return index;
}

GameRecord game(const std::string& name, const char* moves, int orientation = 0)
{
    GameRecord r;
    r.name = name;
    r.moves = textToMoves(moves);
    r.orientation = int8_t(orientation);
    return r;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        out.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text does not end in CR LF";
    return out;
}

// The eight diagram lines of the first game block.
std::vector<std::string> firstDiagram(const std::vector<std::string>& l)
{
    const auto begin = std::find(l.begin(), l.end(), "\\begin");
    EXPECT_GE(l.end() - begin, 9);
    return { begin + 1, begin + 9 };
}

std::vector<std::string> linesStartingWith(const std::vector<std::string>& l, const char* prefix)
{
    std::vector<std::string> out;
    for (const std::string& line : l) {
        if (line.starts_with(prefix))
            out.push_back(line);
    }
    return out;
}

TEST(KaExport, EmptyFolderHasHeadersOnly)
{
    const RecordCollection c = twoFolders();
    EXPECT_EQ(kaExportText(c, 1),
        "KA-1.0\r\n\r\n\r\n"
        "0\r\n\r\n"
        "\\player\r\n"
        "\\end\r\n\r\n"
        "\\tournament\r\n"
        "  \\name  \"NAME\" \"tour\" \"NAME\"\r\n"
        "  \\date  2004 5 1\r\n"
        "  \\games 0\r\n"
        "\\end\r\n\r\n");
}

TEST(KaExport, OneGameWholeText)
{
    RecordCollection c = twoFolders();
    c.names.add("P");
    c.names.add("Q");
    // Stored with orientation 1, the game as played went D3 C5 F6.
    GameRecord r = game("g", "F5D6C3", 1);
    r.blackPlayer = 1;
    r.whitePlayer = 2;
    r.blackDiscs = 36;
    r.whiteDiscs = 28;
    r.winner = GameRecord::blackWins;
    r.endType = GameRecord::normalEnd;
    addRecord(c, 1, r);

    EXPECT_EQ(kaExportText(c, 1),
        "KA-1.0\r\n\r\n\r\n"
        "1\r\n\r\n"
        "\\player\r\n"
        "  \\name  \"P\" \"P\" \"P\"\r\n"
        "  \\name  \"Q\" \"Q\" \"Q\"\r\n"
        "\\end\r\n\r\n"
        "\\tournament\r\n"
        "  \\name  \"NAME\" \"tour\" \"NAME\"\r\n"
        "  \\date  2004 5 1\r\n"
        "  \\games 1\r\n"
        "\\end\r\n\r\n"
        "\\begin\r\n"
        "   -  -  -  -  -  -  -  -\r\n"
        "   -  -  -  -  -  -  -  -\r\n"
        "   -  -  -  1  -  -  -  -\r\n"
        "   -  -  -  o  x  -  -  -\r\n"
        "   -  -  2  x  o  -  -  -\r\n"
        "   -  -  -  -  -  3  -  -\r\n"
        "   -  -  -  -  -  -  -  -\r\n"
        "   -  -  -  -  -  -  -  -\r\n"
        "\r\n"
        "  \\tour  \"tour\"\r\n"
        "  \\player \"P\" \"Q\"\r\n"
        "  \\score  36 28\r\n"
        "  \\winner black\r\n"
        "\\end\r\n\r\n");
}

TEST(KaExport, FullGameNumbersEverySquareButTheStart)
{
    RecordCollection c = twoFolders();
    std::mt19937 rng(7);
    MoveList moves;
    while ((moves = randomGame(rng)).size() != 60) { }
    GameRecord r;
    r.name = "full";
    r.moves = moves;
    addRecord(c, 1, r);

    const std::vector<std::string> diagram = firstDiagram(lines(kaExportText(c, 1)));
    std::vector<int> seen(61, 0);
    for (int row = 0; row < 8; ++row) {
        const std::string& line = diagram[size_t(row)];
        ASSERT_EQ(line.size(), 25u);
        for (int column = 0; column < 8; ++column) {
            const std::string cell = line.substr(size_t(1 + 3 * column), 3);
            const bool start = (row == 3 || row == 4) && (column == 3 || column == 4);
            if (start) {
                EXPECT_EQ(cell, (row == column) ? "  o" : "  x");
                continue;
            }
            const int number = std::stoi(cell);
            ASSERT_GE(number, 1);
            ASSERT_LE(number, 60);
            EXPECT_EQ(cell, (number < 10 ? "  " : " ") + std::to_string(number));
            // The number sits on the square the game played it on.
            EXPECT_EQ(moves[number - 1], 12 + 11 * row + column);
            ++seen[size_t(number)];
        }
    }
    EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), 1), 60);
}

TEST(KaExport, PlayersByFirstAppearanceInNameOrder)
{
    RecordCollection c = twoFolders();
    const int p = c.names.add("P");
    const int q = c.names.add("Q");
    const int r = c.names.add("R");
    // Table order would meet R first; name order meets P-Q first.
    GameRecord second = game("2", "F5");
    second.blackPlayer = int16_t(q);
    second.whitePlayer = int16_t(r);
    addRecord(c, 1, second);
    GameRecord first = game("1", "F5");
    first.blackPlayer = int16_t(p);
    first.whitePlayer = int16_t(q);
    addRecord(c, 1, first);
    // An unknown white player, and one whose index the table does not hold, are both "不明".
    GameRecord third = game("3", "F5");
    third.blackPlayer = int16_t(p);
    third.whitePlayer = 0;
    addRecord(c, 1, third);
    GameRecord fourth = game("4", "F5");
    fourth.blackPlayer = 99;
    fourth.whitePlayer = int16_t(r);
    addRecord(c, 1, fourth);

    const std::vector<std::string> l = lines(kaExportText(c, 1));
    const std::string unknown = cp932::fromUtf8("不明");
    EXPECT_EQ(linesStartingWith(l, "  \\name  "),
        (std::vector<std::string> { "  \\name  \"P\" \"P\" \"P\"", "  \\name  \"Q\" \"Q\" \"Q\"",
            "  \\name  \"R\" \"R\" \"R\"",
            "  \\name  \"" + unknown + "\" \"" + unknown + "\" \"" + unknown + "\"",
            "  \\name  \"NAME\" \"tour\" \"NAME\"" }));
    EXPECT_EQ(linesStartingWith(l, "  \\player "),
        (std::vector<std::string> { "  \\player \"P\" \"Q\"", "  \\player \"Q\" \"R\"",
            "  \\player \"P\" \"" + unknown + "\"", "  \\player \"" + unknown + "\" \"R\"" }));
}

TEST(KaExport, OrderIsBytewiseUnsignedWithPrefixFirstAndStable)
{
    RecordCollection c = twoFolders();
    // "\x82\xa0" (a CP932 kana) sorts after ASCII only when bytes compare unsigned.
    const std::vector<std::string> names { "\x82\xa0", "b", "ab", "a", "b", "B" };
    for (size_t i = 0; i < names.size(); ++i) {
        GameRecord r = game(names[i], "F5");
        r.blackDiscs = int8_t(i); // tells the two "b" apart
        addRecord(c, 1, r);
    }
    EXPECT_EQ(linesStartingWith(lines(kaExportText(c, 1)), "  \\score "),
        (std::vector<std::string> { "  \\score  5 0", "  \\score  3 0", "  \\score  2 0",
            "  \\score  1 0", "  \\score  4 0", "  \\score  0 0" }));
}

TEST(KaExport, WinnerWordsAndOwnRecordsOnly)
{
    RecordCollection c = twoFolders();
    struct Case {
        int winner;
        int endType;
    };
    const std::vector<Case> cases { { 1, GameRecord::resigned }, { 2, GameRecord::normalEnd },
        { 0, GameRecord::normalEnd }, { 0, GameRecord::unfinished }, { 0, GameRecord::onTime } };
    for (size_t i = 0; i < cases.size(); ++i) {
        GameRecord r = game(std::string(1, char('a' + i)), "F5");
        r.winner = int8_t(cases[i].winner);
        r.endType = int8_t(cases[i].endType);
        addRecord(c, 1, r);
    }
    // A record of another folder, and of the root, stays out, and so does a slot freed but not
    // yet dropped from the folder's list.
    addRecord(c, 2, game("x", "F5"));
    addRecord(c, 0, game("y", "F5"));
    const int freed = addRecord(c, 1, game("z", "F5"));
    c.records[size_t(freed)].folder = -1;

    const std::vector<std::string> l = lines(kaExportText(c, 1));
    EXPECT_EQ(l[3], "5");
    EXPECT_EQ(linesStartingWith(l, "  \\games "), std::vector<std::string> { "  \\games 5" });
    EXPECT_EQ(linesStartingWith(l, "  \\winner "),
        (std::vector<std::string> { "  \\winner black", "  \\winner white", "  \\winner draw",
            "  \\winner draw", "  \\winner draw" }));
}

TEST(KaExport, WritesTheTextToTheGivenPath)
{
    RecordCollection c = twoFolders();
    addRecord(c, 2, game("g", "F5D6"));
    const TempDir dir;
    const std::string path = dir.file("out.ka");
    writeBytes(path, std::string(100000, 'z')); // overwritten, not appended to
    EXPECT_EQ(exportFolder(c, 2, path), 0);
    EXPECT_EQ(readBytes(path), kaExportText(c, 2));

    EXPECT_EQ(exportFolder(c, 2, dir.file("missing/out.ka")), -1);
}

TEST(KaExport, RefusesFoldersThatAreNotLive)
{
    RecordCollection c = twoFolders();
    c.folders[2].parent = -1; // removed
    const TempDir dir;
    for (int folder : { -1, 2, 3 }) {
        EXPECT_EQ(kaExportText(c, folder), "") << folder;
        EXPECT_EQ(exportFolder(c, folder, dir.file("out.ka")), -1) << folder;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.ka")));
    EXPECT_NE(kaExportText(c, 0), "");
}

} // namespace
