#include "library/collectiontree.h"
#include "library/recordsearch.h"
#include "library/recordsearchindex.h"
#include "records/openingbook.h"

#include "board/notation.h"
#include "board/orientation.h"
#include "board/randomgame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int32_t kNoBound = std::numeric_limits<int32_t>::max();

struct LocalDate {
    int year, month, day, hour, minute, second;
    bool operator==(const LocalDate&) const = default;
};

std::ostream& operator<<(std::ostream& out, const LocalDate& d)
{
    return out << d.year << '-' << d.month << '-' << d.day << ' ' << d.hour << ':' << d.minute
               << ':' << d.second;
}

LocalDate local(int32_t seconds)
{
    const std::time_t t = seconds;
    std::tm tm {};
    localtime_r(&t, &tm);
    return { tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec };
}

TEST(RecordSearch, ReadsLeadingDigitsOnly)
{
    EXPECT_EQ(readLeadingNumber(""), 0);
    EXPECT_EQ(readLeadingNumber("2004"), 2004);
    EXPECT_EQ(readLeadingNumber("2004年"), 2004);
    EXPECT_EQ(readLeadingNumber("12x3"), 12);
    EXPECT_EQ(readLeadingNumber(" 12"), 0);
    EXPECT_EQ(readLeadingNumber("-5"), 0);
    EXPECT_EQ(readLeadingNumber("99999999999999999999"), std::numeric_limits<int32_t>::max());
}

struct BoundCase {
    SearchDate date;
    LocalDate expected;
};

class LowerBound : public testing::TestWithParam<BoundCase> { };

TEST_P(LowerBound, StartsAtMidnight)
{
    EXPECT_EQ(local(lowerDateBound(GetParam().date)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Dates, LowerBound,
    testing::Values(BoundCase { { "2004", "5", "1" }, { 2004, 5, 1, 0, 0, 0 } },
        // Month and day outside their ranges, or missing, become 1.
        BoundCase { { "2004", "", "" }, { 2004, 1, 1, 0, 0, 0 } },
        BoundCase { { "2004", "13", "32" }, { 2004, 1, 1, 0, 0, 0 } },
        BoundCase { { "2004", "0", "0" }, { 2004, 1, 1, 0, 0, 0 } },
        // A day past the month's end runs into the next month.
        BoundCase { { "2003", "2", "31" }, { 2003, 3, 3, 0, 0, 0 } },
        BoundCase { { "2037", "12", "31" }, { 2037, 12, 31, 0, 0, 0 } },
        BoundCase { { "1970", "1", "2" }, { 1970, 1, 2, 0, 0, 0 } }));

TEST(LowerBound, NoBoundOutsideTheYears)
{
    for (const char* year : { "", "abc", "1969", "2038", "0", "99999" })
        EXPECT_EQ(lowerDateBound({ year, "6", "15" }), 0) << year;
}

class UpperBound : public testing::TestWithParam<BoundCase> { };

TEST_P(UpperBound, EndsAtTheLastSecond)
{
    EXPECT_EQ(local(upperDateBound(GetParam().date)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Dates, UpperBound,
    testing::Values(BoundCase { { "2004", "5", "1" }, { 2004, 5, 1, 23, 59, 59 } },
        // Without a day, the month's last day, February's 29th every fourth year.
        BoundCase { { "2004", "2", "" }, { 2004, 2, 29, 23, 59, 59 } },
        BoundCase { { "2003", "2", "" }, { 2003, 2, 28, 23, 59, 59 } },
        BoundCase { { "2003", "4", "0" }, { 2003, 4, 30, 23, 59, 59 } },
        BoundCase { { "2003", "1", "32" }, { 2003, 1, 31, 23, 59, 59 } },
        // Without a month, December.
        BoundCase { { "2003", "", "" }, { 2003, 12, 31, 23, 59, 59 } },
        BoundCase { { "2003", "13", "5" }, { 2003, 12, 5, 23, 59, 59 } },
        // A typed day past the month's end runs on, as on the lower side.
        BoundCase { { "2003", "2", "30" }, { 2003, 3, 2, 23, 59, 59 } },
        BoundCase { { "2037", "12", "31" }, { 2037, 12, 31, 23, 59, 59 } }));

TEST(UpperBound, NoBoundOutsideTheYears)
{
    for (const char* year : { "", "x2004", "1969", "2038", "2100" })
        EXPECT_EQ(upperDateBound({ year, "6", "15" }), kNoBound) << year;
}

// A collection of records with just the searched fields.
class SearchTest : public testing::Test {
protected:
    int add(int black, int white, int winner = 0, int32_t playedAt = 0, const char* moves = "F5")
    {
        GameRecord r;
        r.folder = 0;
        r.blackPlayer = int16_t(black);
        r.whitePlayer = int16_t(white);
        r.winner = int8_t(winner);
        r.playedAt = playedAt;
        r.moves = textToMoves(moves);
        m_collection.records.push_back(r);
        return int(m_collection.records.size()) - 1;
    }
    std::vector<int> search(const SearchCriteria& criteria) const
    {
        return searchRecords(m_collection, criteria);
    }

    RecordCollection m_collection;
};

TEST_F(SearchTest, PlayersOrAndAnd)
{
    // Players 1 = A, 2 = B, 3 = C.
    const int ab = add(1, 2);
    const int ac = add(1, 3);
    const int cb = add(3, 2);
    const int ca = add(3, 1);
    const int ba = add(2, 1);
    const std::vector<int> all { ab, ac, cb, ca, ba };

    struct Case {
        int black;
        int white;
        bool both;
        std::vector<int> expected;
    };
    const std::vector<Case> cases {
        { 0, 0, false, all },
        { 0, 0, true, all },
        // One chosen side: OR excludes nothing, AND keeps that side's games.
        { 1, 0, false, all },
        { 1, 0, true, { ab, ac } },
        { 0, 2, false, all },
        { 0, 2, true, { ab, cb } },
        // Both chosen: A had black or B had white; AND both.
        { 1, 2, false, { ab, ac, cb } },
        { 1, 2, true, { ab } },
        { 2, 3, true, {} },
    };
    for (const Case& c : cases) {
        SearchCriteria q;
        q.black = c.black;
        q.white = c.white;
        q.bothPlayers = c.both;
        EXPECT_EQ(search(q), c.expected) << c.black << ' ' << c.white << ' ' << c.both;
    }
}

TEST_F(SearchTest, WinnerPositions)
{
    const int black = add(0, 0, 1);
    const int white = add(0, 0, 2);
    const int none = add(0, 0, 0);
    const int odd = add(0, 0, 5); // a damaged value only "all" keeps
    const std::vector<std::vector<int>> expected { { black, white, none, odd }, { black },
        { white }, { none }, { black, white, none, odd } };
    for (int position = 0; position < 5; ++position) {
        SearchCriteria q;
        q.winner = position;
        EXPECT_EQ(search(q), expected[size_t(position)]) << position;
    }
}

TEST_F(SearchTest, DatesAreInclusiveAndFreeSlotsNeverMatch)
{
    const SearchDate day { "2004", "2", "29" };
    const int32_t first = lowerDateBound(day);
    const int32_t last = upperDateBound(day);
    ASSERT_EQ(last - first, 86399);
    add(0, 0, 0, first - 1);
    const int atFirst = add(0, 0, 0, first);
    const int atLast = add(0, 0, 0, last);
    add(0, 0, 0, last + 1);
    const int negative = add(0, 0, 0, -5);
    const int free = add(0, 0, 0, first);
    m_collection.records[size_t(free)].folder = -1;

    SearchCriteria q;
    q.from = day;
    q.to = day;
    EXPECT_EQ(search(q), (std::vector<int> { atFirst, atLast }));

    // Untouched dates keep everything from 0 on; a played-at before 1970 stays out.
    const std::vector<int> untouched = search(SearchCriteria {});
    EXPECT_EQ(untouched.size(), 4u);
    EXPECT_EQ(std::count(untouched.begin(), untouched.end(), negative), 0);
}

TEST_F(SearchTest, MovesCompareTheCanonicalPrefix)
{
    const int one = add(0, 0, 0, 0, "F5");
    const int f5d6 = add(0, 0, 0, 0, "F5D6C3D3C4");
    const int f5f6 = add(0, 0, 0, 0, "F5F6E6F4");
    const int f5d6c5 = add(0, 0, 0, 0, "F5D6C5");
    const int none = add(0, 0, 0, 0, "");

    struct Case {
        const char* preview;
        int n;
        std::vector<int> expected;
    };
    const std::vector<Case> cases {
        { "", 0, { one, f5d6, f5f6, f5d6c5, none } },
        // Every stored game starts with F5, and D3 is one of its images.
        { "D3", 1, { one, f5d6, f5f6, f5d6c5 } },
        { "F5D6", 2, { f5d6, f5d6c5 } },
        { "E6F4", 2, { f5d6, f5d6c5 } }, // the same opening turned
        { "F5D6C3", 3, { f5d6 } },
        // The transposition F5 D6 C3 D3 C4 = F5 D6 C4 D3 C3 is one canonical order.
        { "F5D6C4D3C3", 5, { f5d6 } },
        // n counts from the front; moves after it take no part but the orientation.
        { "F5F6E6F4", 1, { one, f5d6, f5f6, f5d6c5 } },
        // A record with fewer moves than n fails at its end.
        { "F5D6C3D3C4F4", 6, {} },
        // n past the preview's moves compares only what is there.
        { "F5D6", 9, { f5d6, f5d6c5 } },
    };
    for (const Case& c : cases) {
        SearchCriteria q;
        q.moves = textToMoves(c.preview);
        q.movesCompared = c.n;
        EXPECT_EQ(search(q), c.expected) << c.preview << ' ' << c.n;
    }
}

TEST_F(SearchTest, EveryCriterionMustHold)
{
    const int32_t t = lowerDateBound({ "2010", "6", "1" }) + 3600;
    const int hit = add(1, 2, 1, t, "F5D6C3");
    add(1, 2, 2, t, "F5D6C3"); // winner
    add(1, 2, 1, t, "F5F6"); // moves
    add(1, 2, 1, t - 86400, "F5D6C3"); // date
    add(1, 3, 1, t, "F5D6C3"); // white player in AND mode

    SearchCriteria q;
    q.black = 1;
    q.white = 2;
    q.bothPlayers = true;
    q.winner = SearchCriteria::blackWon;
    q.from = { "2010", "6", "1" };
    q.to = { "2010", "6", "" };
    q.moves = textToMoves("F5D6");
    q.movesCompared = 2;
    EXPECT_EQ(search(q), std::vector<int> { hit });
}

} // namespace

namespace {

// Records over a few players, results, days and openings, so that every criterion both keeps and
// drops some of them.
RecordCollection randomCollection(std::mt19937& rng, int count)
{
    RecordCollection c;
    c.folders.resize(1);
    const int32_t base = lowerDateBound({ "2004", "1", "1" });
    for (int i = 0; i < count; ++i) {
        GameRecord r;
        r.folder = int16_t(rng() % 10 == 0 ? -1 : 0);
        r.blackPlayer = int16_t(rng() % 4);
        r.whitePlayer = int16_t(rng() % 4);
        r.winner = int8_t(rng() % 3);
        r.playedAt = base + int32_t(rng() % 40) * 86400;
        normaliseMoves(r, randomGame(rng, int(rng() % 14)), OpeningBook {});
        c.records.push_back(r);
    }
    return c;
}

SearchCriteria randomCriteria(std::mt19937& rng, const RecordCollection& c)
{
    SearchCriteria q;
    q.black = int(rng() % 4);
    q.white = int(rng() % 4);
    q.bothPlayers = rng() % 2;
    q.winner = int(rng() % 4);
    if (rng() % 2)
        q.from = { "2004", "1", std::to_string(rng() % 40) };
    if (rng() % 2)
        q.to = { "2004", "2", std::to_string(rng() % 30) };
    // Openings of records that are there, seen in any orientation, compared to any length.
    q.moves = transform(playedMoves(c.records[rng() % c.records.size()]), int(rng() % 4));
    q.movesCompared = int(rng() % 13);
    return q;
}

TEST(RecordSearchIndex, FindsWhatTheScanFinds)
{
    std::mt19937 rng(11);
    const RecordCollection c = randomCollection(rng, 3000);
    const RecordSearchIndex index(c);
    size_t total = 0;
    for (int round = 0; round < 300; ++round) {
        const SearchCriteria q = randomCriteria(rng, c);
        const std::vector<int> expected = searchRecords(c, q);
        ASSERT_EQ(index.search(c, q), expected) << round;
        total += expected.size();
    }
    EXPECT_GT(total, 1000u); // the rounds found something to compare
}

TEST(RecordSearchIndex, FollowsUpdatesAndNeverListsAStaleHit)
{
    std::mt19937 rng(5);
    RecordCollection c = randomCollection(rng, 200);
    RecordSearchIndex index(c);
    SearchCriteria q;
    q.black = 3;
    q.bothPlayers = true;

    // A changed slot that was not read again can be missed, but is never listed wrongly.
    const int hit = searchRecords(c, q).front();
    c.records[size_t(hit)].blackPlayer = 2;
    EXPECT_EQ(index.search(c, q), searchRecords(c, q));
    int miss = 0;
    while (c.records[size_t(miss)].folder < 0 || c.records[size_t(miss)].blackPlayer == 3)
        ++miss;
    c.records[size_t(miss)].blackPlayer = 3;
    std::vector<int> stale = index.search(c, q);
    EXPECT_EQ(std::count(stale.begin(), stale.end(), miss), 0);
    index.update(c, miss);
    index.update(c, hit);
    EXPECT_EQ(index.search(c, q), searchRecords(c, q));

    // New slots: the index grows by every slot up to the one updated; until then, its size
    // differs from the table and the search reads the records themselves.
    c.records.push_back(c.records[size_t(miss)]);
    c.records.push_back(c.records[size_t(miss)]);
    EXPECT_EQ(index.search(c, q), searchRecords(c, q));
    index.update(c, int(c.records.size()) - 1);
    EXPECT_EQ(index.size(), int(c.records.size()));
    EXPECT_EQ(index.search(c, q), searchRecords(c, q));
    const std::vector<int> grown = index.search(c, q);
    EXPECT_EQ(std::count(grown.begin(), grown.end(), int(c.records.size()) - 2), 1);

    // A freed slot.
    c.records[size_t(miss)].folder = -1;
    index.update(c, miss);
    EXPECT_EQ(index.search(c, q), searchRecords(c, q));
    index.update(c, -1);
    index.update(c, 1 << 20);
    EXPECT_EQ(index.size(), int(c.records.size()));
}

} // namespace

TEST(CollectionTreeSearch, StaysEqualToTheScanThroughAddsDetachesAndEdits)
{
    std::mt19937 rng(23);
    RecordCollection data = randomCollection(rng, 400);
    for (int slot = 0; slot < int(data.records.size()); ++slot) {
        if (data.records[size_t(slot)].folder == 0)
            data.folders[0].records.push_back(slot);
    }
    CollectionTree tree;
    tree.adopt(std::move(data));
    const auto agree = [&](int rounds) {
        for (int round = 0; round < rounds; ++round) {
            const SearchCriteria q = randomCriteria(rng, tree.data());
            ASSERT_EQ(tree.search(q), searchRecords(tree.data(), q)) << round;
        }
    };
    agree(50);

    // Records leave and arrive (free slots are reused) while the index stays built.
    for (int step = 0; step < 200; ++step) {
        const int slot = int(rng() % unsigned(tree.slotCount()));
        if (tree.recordIsLive(slot)) {
            tree.detachRecord(slot);
        } else {
            GameRecord copy = copyRecord(tree.record(int(rng() % unsigned(tree.slotCount()))));
            copy.blackPlayer = int16_t(rng() % 5);
            tree.addRecord(0, std::move(copy));
        }
        if (step % 20 == 0)
            agree(5);
    }
    // An edit in place and a cleared collection are searched afresh.
    for (int slot = 0; slot < tree.slotCount(); ++slot) {
        if (tree.recordIsLive(slot)) {
            tree.recordForEdit(slot).winner = GameRecord::whiteWins;
            break;
        }
    }
    agree(50);
    tree.clear();
    EXPECT_TRUE(tree.search(SearchCriteria {}).empty());
}
