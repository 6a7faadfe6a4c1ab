#include "board/notation.h"
#include "board/randomgame.h"
#include "records/recordline.h"
#include "text/cp932.h"

#include <gtest/gtest.h>

namespace {

const OpeningBook kNoOpenings;

std::string sjis(const char* utf8)
{
    return cp932::fromUtf8(utf8);
}

GameRecord sample(PlayerNameTable& names)
{
    GameRecord r;
    r.name = "Game";
    r.blackPlayer = int16_t(names.add("Ann"));
    r.whitePlayer = 0;
    r.blackDiscs = 36;
    r.whiteDiscs = 28;
    r.orientation = 10;
    r.winner = 1;
    r.endType = 0;
    r.playedAt = 0x12345678;
    r.moves = textToMoves("F5D6");
    r.comment = "a\r\nb";
    return r;
}

TEST(RecordLine, FieldsInOrder)
{
    PlayerNameTable names;
    const std::string line = recordToLine(sample(names), names);
    std::string expected = "04Game03Ann04" + sjis("不明") + "aSA10" + "78563412" + "3D46";
    expected += std::string(116, '0');
    expected += "0";
    expected += "04a\x1b\x1b"
                "b";
    EXPECT_EQ(line, expected);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
}

TEST(RecordLine, ReadsBackWhatItWrites)
{
    PlayerNameTable names;
    const GameRecord original = sample(names);
    PlayerNameTable other;
    other.add("someone else");
    GameRecord read;
    read.folder = 7;
    read.deletedAt = 99;
    recordFromLine(recordToLine(original, names), read, other, kNoOpenings);
    EXPECT_EQ(read.name, "Game");
    EXPECT_EQ(other.name(read.blackPlayer), "Ann");
    EXPECT_EQ(read.whitePlayer, 0); // "不明" is entry 0 again
    EXPECT_EQ(read.blackDiscs, 36);
    EXPECT_EQ(read.whiteDiscs, 28);
    EXPECT_EQ(read.orientation, 10);
    EXPECT_EQ(read.winner, 1);
    EXPECT_EQ(read.endType, 0);
    EXPECT_EQ(read.playedAt, 0x12345678);
    EXPECT_EQ(read.moves, original.moves);
    EXPECT_EQ(read.comment, "a\r\nb");
    EXPECT_EQ(read.folder, 7); // not carried: the receiver sets it
    EXPECT_EQ(read.deletedAt, 99);
}

TEST(RecordLine, CommentEscapes)
{
    struct EscapeCase {
        std::string carried;
        std::string comment;
    };
    const EscapeCase cases[] = { { "a\x1b\x1b"
                                   "b",
                                     "a\r\nb" },
        { "a\x1b"
          "b",
            "a\nb" },
        { "\x1b\x1b\x1b", "\r\n\n" }, { "\x1b", "\n" } };
    for (const EscapeCase& c : cases) {
        PlayerNameTable names;
        GameRecord r;
        char length[3];
        std::snprintf(length, sizeof length, "%02X", unsigned(c.carried.size()));
        // Empty names, five digits, the date, the moves and the '0' before the comment.
        recordFromLine(std::string(19, '0') + std::string(120, '0') + "0" + length + c.carried, r,
            names, kNoOpenings);
        EXPECT_EQ(r.comment, c.comment);
    }
}

TEST(RecordLine, AlphabetDigits)
{
    struct DigitCase {
        int value;
        char written;
        int read;
    };
    // 64 has no symbol of its own: '@', which a reader that does not know it takes as 63.
    const DigitCase cases[] = { { 0, '0', 0 }, { 9, '9', 9 }, { 10, 'A', 10 }, { 35, 'Z', 35 },
        { 36, 'a', 36 }, { 61, 'z', 61 }, { 62, '#', 62 }, { 63, '$', 63 }, { 64, '@', 64 },
        { -1, '$', 63 }, { 100, '$', 63 } };
    for (const DigitCase& c : cases) {
        PlayerNameTable names;
        GameRecord r;
        r.blackDiscs = int8_t(c.value);
        const std::string line = recordToLine(r, names);
        EXPECT_EQ(line[2 + 2 + 4 + 2 + 4], c.written) << c.value;
        GameRecord read;
        recordFromLine(line, read, names, kNoOpenings);
        EXPECT_EQ(read.blackDiscs, c.read) << c.value;
    }
}

TEST(RecordLine, BadCharactersReadAsZeroOr63)
{
    PlayerNameTable names;
    GameRecord r;
    // '%' in the disc count; lower-case hex and non-hex characters in the date.
    recordFromLine("000000%2000"
                   "100azz00"
            + std::string(120, '0') + "000",
        r, names, kNoOpenings);
    EXPECT_EQ(r.blackDiscs, 63);
    EXPECT_EQ(r.whiteDiscs, 2);
    EXPECT_EQ(r.playedAt, 0x0A10);
    EXPECT_TRUE(r.comment.empty());
}

TEST(RecordLine, LineCutShortReadsEmptyFields)
{
    PlayerNameTable names;
    GameRecord full = sample(names);
    full.comment = std::string(40, 'c');
    const std::string line = recordToLine(full, names);
    for (size_t cut = 0; cut <= line.size(); ++cut) {
        PlayerNameTable table;
        GameRecord r;
        recordFromLine(std::string_view(line).substr(0, cut), r, table, kNoOpenings);
        if (cut < 6) { // the name is cut short
            EXPECT_TRUE(r.name.empty());
            EXPECT_EQ(r.blackPlayer, 0);
        }
        if (cut < line.size()) {
            EXPECT_TRUE(r.comment.empty()) << cut;
        }
        EXPECT_LE(r.moves.size(), full.moves.size());
    }
    // Lengths that run past the end of the line.
    GameRecord r;
    recordFromLine("FFab", r, names, kNoOpenings);
    EXPECT_TRUE(r.name.empty());
    recordFromLine("", r, names, kNoOpenings);
    EXPECT_TRUE(r.moves.empty());
}

TEST(RecordLine, LongTextsAreCut)
{
    PlayerNameTable names;
    GameRecord r;
    r.comment = std::string(254, 'c') + sjis("表");
    r.name = std::string(300, 'n');
    GameRecord read;
    recordFromLine(recordToLine(r, names), read, names, kNoOpenings);
    EXPECT_EQ(read.comment, std::string(254, 'c'));
    EXPECT_EQ(read.name, std::string(255, 'n'));
}

TEST(RecordLine, RandomRecordsRoundTrip)
{
    std::mt19937 rng(23);
    PlayerNameTable names;
    for (int i = 0; i < 200; ++i)
        names.add("player" + std::to_string(i));
    for (int i = 0; i < 500; ++i) {
        GameRecord r;
        for (int k = int(rng() % 40); k > 0; --k)
            r.name += char(0x20 + rng() % 0xE0);
        // Comments within the 255 bytes carried, with CR LF line ends.
        for (int k = int(rng() % 120); k > 0; --k) {
            if (rng() % 10 == 0)
                r.comment += "\r\n";
            else
                r.comment += char(0x20 + rng() % 0xE0);
        }
        r.blackPlayer = int16_t(rng() % 201);
        r.whitePlayer = int16_t(rng() % 201);
        r.blackDiscs = int8_t(rng() % 65);
        r.whiteDiscs = int8_t(rng() % 65);
        r.orientation = int8_t(rng() % 12);
        r.winner = int8_t(rng() % 3);
        r.endType = int8_t(rng() % 5);
        r.playedAt = int32_t(rng());
        r.moves = randomGame(rng, int(rng() % 61));
        GameRecord read;
        recordFromLine(recordToLine(r, names), read, names, kNoOpenings);
        ASSERT_EQ(read.moves, r.moves);
        EXPECT_EQ(names.name(read.blackPlayer), names.name(r.blackPlayer));
        EXPECT_EQ(names.name(read.whitePlayer), names.name(r.whitePlayer));
        EXPECT_EQ(std::tie(read.blackDiscs, read.whiteDiscs, read.orientation, read.winner,
                      read.endType, read.playedAt),
            std::tie(r.blackDiscs, r.whiteDiscs, r.orientation, r.winner, r.endType, r.playedAt));
        EXPECT_EQ(read.name, r.name);
        EXPECT_EQ(read.comment, r.comment);
    }
    EXPECT_EQ(names.size(), 201);
}

} // namespace
