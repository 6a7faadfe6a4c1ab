#include "generatedcollection.h"
#include "library/recordsearch.h"
#include "library/recordsearchindex.h"
#include "records/collectionfile.h"
#include "records/openingbook.h"

#include "board/orientation.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

// The record search over the million generated records: the plain scan of the record table, the
// scan of the search index, and the same queries against SQLite holding the same fields in one
// table with an index on each searched column.
namespace {

struct Query {
    const char* label;
    SearchCriteria criteria;
    const char* where; // the same test in SQL
};

// Parameters the SQL texts may use.
struct SqlBounds {
    int black;
    int white;
    int winner;
    int32_t lower;
    int32_t upper;
    std::string prefix; // the canonical opening's first bytes
    std::string prefixEnd; // the least blob above every blob that starts with prefix
};

class SearchData {
public:
    SearchData()
    {
        if (loadCollection(generatedCollectionPath(), m_collection, OpeningBook {}) != 0
            || m_collection.records.size() != size_t(kGeneratedRecords)) {
            m_error = "the generated collection did not load";
            return;
        }
        m_index.rebuild(m_collection);
        makeQueries();
        if (!makeDatabase())
            m_error = std::string("SQLite: ") + sqlite3_errmsg(m_db);
    }
    ~SearchData() { sqlite3_close(m_db); }

    const char* error() const { return m_error.empty() ? nullptr : m_error.c_str(); }
    const RecordCollection& collection() const { return m_collection; }
    const RecordSearchIndex& index() const { return m_index; }
    const Query& query(int i) const { return m_queries[size_t(i)]; }

    std::vector<int> sqlSearch(int i) const
    {
        const Query& q = m_queries[size_t(i)];
        const SqlBounds b = boundsOf(q.criteria);
        const std::string sql
            = std::string("SELECT slot FROM records WHERE ") + q.where + " ORDER BY slot";
        sqlite3_stmt* statement = nullptr;
        std::vector<int> found;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            return { -1 };
        auto bindInt = [&](const char* name, int64_t value) {
            if (const int at = sqlite3_bind_parameter_index(statement, name))
                sqlite3_bind_int64(statement, at, value);
        };
        auto bindBlob = [&](const char* name, const std::string& value) {
            if (const int at = sqlite3_bind_parameter_index(statement, name))
                sqlite3_bind_blob(statement, at, value.data(), int(value.size()), SQLITE_STATIC);
        };
        bindInt(":black", b.black);
        bindInt(":white", b.white);
        bindInt(":winner", b.winner);
        bindInt(":lower", b.lower);
        bindInt(":upper", b.upper);
        bindBlob(":prefix", b.prefix);
        bindBlob(":prefixEnd", b.prefixEnd);
        while (sqlite3_step(statement) == SQLITE_ROW)
            found.push_back(sqlite3_column_int(statement, 0));
        sqlite3_finalize(statement);
        return found;
    }

private:
    static SqlBounds boundsOf(const SearchCriteria& c)
    {
        const MoveList target = transform(c.moves, classifyOpening(c.moves));
        constexpr int winners[]
            = { -1, GameRecord::blackWins, GameRecord::whiteWins, GameRecord::noWinner };
        SqlBounds b { c.black, c.white, winners[c.winner], lowerDateBound(c.from),
            upperDateBound(c.to), std::string(target.bytes().substr(0, size_t(c.movesCompared))),
            {} };
        b.prefixEnd = b.prefix;
        // Squares are below 255, so the last byte can always go up by one.
        if (!b.prefixEnd.empty())
            b.prefixEnd.back() = char(uint8_t(b.prefixEnd.back()) + 1);
        return b;
    }

    void makeQueries()
    {
        SearchCriteria criteria;
        criteria.black = 1;
        criteria.white = 2;
        criteria.winner = SearchCriteria::blackWon;
        criteria.from = { "2005", "1", "1" };
        criteria.to = { "2014", "12", "31" };

        // Eight moves of a stored game, as the preview would have played them.
        SearchCriteria opening;
        // The first game from slot 12345 on with eight moves and known players, played in the
        // ten years the last query covers.
        const int32_t first = lowerDateBound({ "2005", "", "" });
        const int32_t last = upperDateBound({ "2014", "", "" });
        size_t slot = 12345;
        for (; slot + 1 < m_collection.records.size(); ++slot) {
            const GameRecord& r = m_collection.records[slot];
            if (r.folder >= 0 && r.moves.size() >= 8 && r.blackPlayer > 0 && r.whitePlayer > 0
                && r.playedAt >= first && r.playedAt <= last)
                break;
        }
        opening.moves
            = MoveList::fromBytes(playedMoves(m_collection.records[slot]).bytes().substr(0, 8));
        opening.movesCompared = 8;

        // The players, result and opening of that game, over ten years.
        const GameRecord& game = m_collection.records[slot];
        SearchCriteria both = criteria;
        both.black = game.blackPlayer;
        both.white = game.whitePlayer;
        both.winner = game.winner == GameRecord::blackWins ? SearchCriteria::blackWon
            : game.winner == GameRecord::whiteWins         ? SearchCriteria::whiteWon
                                                           : SearchCriteria::noWinner;
        both.from = { "2005", "", "" };
        both.to = { "2014", "", "" };
        both.moves = opening.moves;
        both.movesCompared = 8;

        const char* players = "(black = :black OR white = :white) AND winner = :winner AND "
                              "played_at BETWEEN :lower AND :upper";
        const char* prefix = "moves >= :prefix AND moves < :prefixEnd";
        m_where[0] = players;
        m_where[1] = prefix;
        m_where[2] = std::string(players) + " AND " + prefix;
        m_queries = { { "criteria", criteria, m_where[0].c_str() },
            { "8-move prefix", opening, m_where[1].c_str() },
            { "criteria and 8-move prefix", both, m_where[2].c_str() } };
    }

    bool exec(const char* sql)
    {
        return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    bool makeDatabase()
    {
        if (sqlite3_open(":memory:", &m_db) != SQLITE_OK)
            return false;
        if (!exec("CREATE TABLE records(slot INTEGER PRIMARY KEY, black INTEGER, white INTEGER, "
                  "winner INTEGER, played_at INTEGER, moves BLOB)")
            || !exec("BEGIN"))
            return false;
        sqlite3_stmt* insert = nullptr;
        if (sqlite3_prepare_v2(
                m_db, "INSERT INTO records VALUES(?, ?, ?, ?, ?, ?)", -1, &insert, nullptr)
            != SQLITE_OK)
            return false;
        bool ok = true;
        for (size_t i = 0; i < m_collection.records.size() && ok; ++i) {
            const GameRecord& r = m_collection.records[i];
            if (r.folder < 0)
                continue; // free slots are no rows
            sqlite3_bind_int64(insert, 1, int64_t(i));
            sqlite3_bind_int(insert, 2, r.blackPlayer);
            sqlite3_bind_int(insert, 3, r.whitePlayer);
            sqlite3_bind_int(insert, 4, r.winner);
            sqlite3_bind_int(insert, 5, r.playedAt);
            sqlite3_bind_blob(insert, 6, r.moves.data(), r.moves.size(), SQLITE_STATIC);
            ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
        }
        sqlite3_finalize(insert);
        // The moves index serves prefix ranges: blobs compare byte by byte, shorter first.
        return ok && exec("COMMIT") && exec("CREATE INDEX records_black ON records(black)")
            && exec("CREATE INDEX records_white ON records(white)")
            && exec("CREATE INDEX records_winner ON records(winner)")
            && exec("CREATE INDEX records_played_at ON records(played_at)")
            && exec("CREATE INDEX records_moves ON records(moves)") && exec("ANALYZE");
    }

    RecordCollection m_collection;
    RecordSearchIndex m_index;
    sqlite3* m_db = nullptr;
    std::array<std::string, 3> m_where;
    std::vector<Query> m_queries;
    std::string m_error;
};

const SearchData& searchData()
{
    static const SearchData data;
    return data;
}

// Runs one way of searching, after checking once that it finds what the scan finds.
template <typename Search> void run(benchmark::State& state, Search search)
{
    const SearchData& data = searchData();
    if (data.error()) {
        state.SkipWithError(data.error());
        return;
    }
    const int query = int(state.range(0));
    const std::vector<int> expected = searchRecords(data.collection(), data.query(query).criteria);
    if (search(data, query) != expected) {
        state.SkipWithError("the results differ from the scan's");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(search(data, query));
    state.SetLabel(data.query(query).label);
    state.counters["found"] = double(expected.size());
}

void BM_Scan(benchmark::State& state)
{
    run(state, [](const SearchData& d, int q) {
        return searchRecords(d.collection(), d.query(q).criteria);
    });
}
BENCHMARK(BM_Scan)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_Index(benchmark::State& state)
{
    run(state, [](const SearchData& d, int q) {
        return d.index().search(d.collection(), d.query(q).criteria);
    });
}
BENCHMARK(BM_Index)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_SQLite(benchmark::State& state)
{
    run(state, [](const SearchData& d, int q) { return d.sqlSearch(q); });
}
BENCHMARK(BM_SQLite)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// What keeping the index costs when it has to be made afresh (after a load).
void BM_IndexRebuild(benchmark::State& state)
{
    const SearchData& data = searchData();
    RecordSearchIndex index;
    for (auto _ : state) {
        index.rebuild(data.collection());
        benchmark::DoNotOptimize(index.size());
    }
}
BENCHMARK(BM_IndexRebuild)->Unit(benchmark::kMillisecond);

// The first search by opening after a load also puts the records in the order of their moves.
void BM_IndexFirstOpeningSearch(benchmark::State& state)
{
    const SearchData& data = searchData();
    if (data.error()) {
        state.SkipWithError(data.error());
        return;
    }
    RecordSearchIndex index;
    for (auto _ : state) {
        index.rebuild(data.collection());
        benchmark::DoNotOptimize(index.search(data.collection(), data.query(1).criteria));
    }
}
BENCHMARK(BM_IndexFirstOpeningSearch)->Unit(benchmark::kMillisecond);

} // namespace
