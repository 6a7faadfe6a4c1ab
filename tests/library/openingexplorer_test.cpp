#include "library/openingexplorer.h"

#include "board/notation.h"
#include "board/orientation.h"
#include "board/othelloboard.h"
#include "board/randomgame.h"
#include "library/collectiontree.h"
#include "records/openingbook.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>

using namespace board;

namespace {

// The symmetries in the order the explorer tries them, written on (file, rank) from 0 to 7.
using Symmetry = std::function<std::pair<int, int>(int, int)>;
const std::vector<Symmetry> kOrder {
    [](int f, int r) {
        return std::pair { f, r };
    },
    [](int f, int r) {
        return std::pair { r, f };
    }, // a1–h8 diagonal
    [](int f, int r) {
        return std::pair { 7 - r, 7 - f };
    }, // a8–h1 diagonal
    [](int f, int r) {
        return std::pair { 7 - f, 7 - r };
    }, // half turn
    [](int f, int r) {
        return std::pair { 7 - r, f };
    }, // a1 → h1
    [](int f, int r) {
        return std::pair { r, 7 - f };
    }, // a1 → a8
    [](int f, int r) {
        return std::pair { 7 - f, r };
    }, // left–right
    [](int f, int r) {
        return std::pair { f, 7 - r };
    }, // top–bottom
};

int mapped(const Symmetry& s, int square)
{
    const auto [f, r] = s(columnOf(square), rowOf(square));
    return squareAt(r, f);
}

// Each symmetry as a table of the square every square goes to.
const std::vector<std::array<int, kCellCount>> kMaps = [] {
    std::vector<std::array<int, kCellCount>> maps(kOrder.size());
    for (size_t s = 0; s < kOrder.size(); ++s)
        for (int square = 0; square < kCellCount; ++square)
            maps[s][size_t(square)] = isSquare8x8(square) ? mapped(kOrder[s], square) : square;
    return maps;
}();

// A game replayed on the plain board, passes taken where a side cannot move.
struct Replay {
    OthelloBoard board;
    int toMove = kBlack;
    Replay() { board.selectVariant(OthelloBoard::kVariantStandard); }
    void settle()
    {
        if (board.hasNoMove(toMove) && !board.hasNoMove(opponent(toMove)))
            toMove = opponent(toMove);
    }
    bool play(int square)
    {
        settle();
        if (!board.play(square, toMove))
            return false;
        toMove = opponent(toMove);
        return true;
    }
    bool sameAs(const Replay& other, size_t symmetry) const
    {
        if (toMove != other.toMove)
            return false;
        for (int r = 0; r < 8; ++r)
            for (int c = 0; c < 8; ++c)
                if (other.board.cell(kMaps[symmetry][size_t(squareAt(r, c))])
                    != board.cell(squareAt(r, c)))
                    return false;
        return true;
    }
};

// Every live record replayed once: its moves as played and the position after each legal move.
struct ReplayedGame {
    const GameRecord* record;
    MoveList moves;
    std::vector<Replay> positions; // positions[k] after k moves (and a forced pass)
};

std::vector<ReplayedGame> replayAll(const CollectionTree& tree)
{
    std::vector<ReplayedGame> games;
    for (int slot = 0; slot < tree.slotCount(); ++slot) {
        if (!tree.recordIsLive(slot))
            continue;
        ReplayedGame g { &tree.record(slot), playedMoves(tree.record(slot)), { Replay() } };
        for (int square : g.moves) {
            Replay next = g.positions.back();
            if (!next.play(square))
                break;
            next.settle();
            g.positions.push_back(next);
        }
        games.push_back(std::move(g));
    }
    return games;
}

// What the explorer must give, from the replays of every live record.
std::vector<ExplorerMove> expected(const std::vector<ReplayedGame>& games, const MoveList& query)
{
    Replay target;
    for (int square : query)
        if (!target.play(square))
            return {};
    target.settle();
    if (target.board.gameOver())
        return {};
    std::map<int, ExplorerMove> byName; // file × 8 + rank
    std::map<int, std::pair<int, int>> discs;
    const int ply = query.size();
    for (const ReplayedGame& g : games) {
        // A next move is counted only when it is legal: there is a position after it.
        if (int(g.positions.size()) <= ply + 1)
            continue;
        const Replay& game = g.positions[size_t(ply)];
        if (game.board.blackCount() != target.board.blackCount())
            continue;
        const GameRecord& record = *g.record;
        for (size_t s = 0; s < kOrder.size(); ++s) {
            if (!game.sameAs(target, s))
                continue;
            const int turned = kMaps[s][size_t(g.moves[ply])];
            ExplorerMove& m = byName[columnOf(turned) * 8 + rowOf(turned)];
            m.square = rowOf(turned) * 8 + columnOf(turned);
            ++m.games;
            ++(record.winner == 1 ? m.blackWins : record.winner == 2 ? m.whiteWins : m.others);
            if (record.endType == GameRecord::normalEnd) {
                discs[m.square].first += record.blackDiscs;
                ++discs[m.square].second;
            }
            break;
        }
    }
    std::vector<ExplorerMove> out;
    for (auto& [name, m] : byName) {
        if (discs[m.square].second)
            m.avgBlackDiscs = double(discs[m.square].first) / discs[m.square].second;
        out.push_back(m);
    }
    std::stable_sort(out.begin(), out.end(),
        [](const ExplorerMove& a, const ExplorerMove& b) { return a.games > b.games; });
    return out;
}

std::vector<int> indices(const MoveList& moves)
{
    std::vector<int> out;
    for (int square : moves)
        out.push_back(rowOf(square) * 8 + columnOf(square));
    return out;
}

std::string describe(const std::vector<ExplorerMove>& moves)
{
    std::string text;
    for (const ExplorerMove& m : moves) {
        text += movesToText(
                    MoveList::fromBytes(std::string(1, char(squareAt(m.square / 8, m.square % 8)))))
            + " " + std::to_string(m.games) + "/" + std::to_string(m.blackWins) + "/"
            + std::to_string(m.whiteWins) + "/" + std::to_string(m.others) + "/"
            + (m.avgBlackDiscs ? std::to_string(*m.avgBlackDiscs) : "null") + " ";
    }
    return text;
}

int addGame(CollectionTree& tree, const MoveList& played, int winner, int endType, int black)
{
    GameRecord r;
    r.winner = int8_t(winner);
    r.endType = int8_t(endType);
    r.blackDiscs = int8_t(black);
    r.whiteDiscs = int8_t(64 - black);
    normaliseMoves(r, played, OpeningBook {});
    return tree.addRecord(0, std::move(r));
}

MoveList imageOf(const MoveList& moves, const Symmetry& s)
{
    MoveList out;
    for (int square : moves)
        out.append(mapped(s, square));
    return out;
}

// The number of moves before the first pass; 0 when the game has none.
int movesBeforePass(const MoveList& moves)
{
    Replay game;
    for (int i = 0; moves[i]; ++i) {
        const int before = game.toMove;
        game.settle();
        if (game.toMove != before)
            return i;
        game.play(moves[i]);
    }
    return 0;
}

} // namespace

TEST(OpeningExplorer, TurnsImagesOntoTheAskedPositionByTheFirstSymmetry)
{
    CollectionTree tree;
    tree.ensureRoot("root", 0);
    addGame(tree, textToMoves("F5D6C3"), 1, 0, 40);
    addGame(tree, textToMoves("E6F4"), 2, 0, 20); // the a1–h8 image: F4 becomes D6
    addGame(tree, textToMoves("D3C3"), 0, 1, 0); // the a8–h1 image: C3 becomes F6
    addGame(tree, textToMoves("C4C3"), 0, 3, 0); // the half turn: C3 becomes F6
    addGame(tree, textToMoves("F5"), 0, 3, 0); // no next move
    OpeningExplorer explorer(tree);

    const auto afterF5 = explorer.explore(indices(textToMoves("F5")));
    EXPECT_EQ(describe(afterF5), "D6 2/1/1/0/30.000000 F6 2/0/0/2/null ");
    // From the start every game counts as played, the most common move first, ties by name.
    EXPECT_EQ(describe(explorer.explore({})),
        "F5 2/1/0/1/40.000000 C4 1/0/0/1/null D3 1/0/0/1/null E6 1/0/1/0/20.000000 ");
    EXPECT_TRUE(explorer.explore(indices(textToMoves("A1"))).empty()); // not a legal game
    EXPECT_EQ(explorer.gameCount(), 5);
    EXPECT_LE(explorer.indexBytes() / 5, 16u);

    // Records added or removed later are seen at the next query.
    const int added = addGame(tree, textToMoves("F5F4"), 1, 0, 50);
    EXPECT_EQ(explorer.explore(indices(textToMoves("F5"))).size(), 3u);
    tree.detachRecord(added);
    EXPECT_EQ(explorer.explore(indices(textToMoves("F5"))).size(), 2u);
}

TEST(OpeningExplorer, CountsWhatAReplayOfEveryGameCounts)
{
    std::mt19937 rng(7);
    CollectionTree tree;
    tree.ensureRoot("root", 0);
    std::vector<MoveList> games;
    for (int i = 0; i < 600; ++i) {
        MoveList game = randomGame(rng, i % 3 ? 60 : int(rng() % 30));
        // Some games keep moves after their last legal one.
        if (i % 29 == 0 && game.size() > 10)
            game.set(9, squareAt(0, 0));
        games.push_back(game);
        // The first four symmetries keep the starting position, so they turn games into games;
        // the others make move lists that stop being legal at once, kept as damaged records.
        const int images = i % 10 == 0 ? 8 : 1;
        for (int s = 0; s < images; ++s)
            addGame(tree, imageOf(game, kOrder[size_t(images == 8 ? s : i % 4)]), int(rng() % 3),
                int(rng() % 4), int(rng() % 65));
        // A few games share long openings, so that deep positions hold many games.
        if (i % 5 == 0)
            addGame(tree, MoveList::fromBytes(game.bytes().substr(0, 20)), 1, 0, 33);
    }
    // Games with a pass well before their end, in several orientations.
    std::vector<std::pair<MoveList, int>> passing;
    while (passing.size() < 6) {
        const MoveList game = randomGame(rng);
        const int pass = movesBeforePass(game);
        if (pass == 0 || pass + 3 > game.size())
            continue;
        passing.push_back({ game, pass });
        for (int s : { 0, 1, 3 })
            addGame(tree, imageOf(game, kOrder[size_t(s)]), 1, 0, 40);
    }
    // Some records leave again.
    for (int slot = 3; slot < tree.slotCount(); slot += 17)
        tree.detachRecord(slot);
    OpeningExplorer explorer(tree);
    const std::vector<ReplayedGame> replayed = replayAll(tree);

    int passQueries = 0;
    int nonEmpty = 0;
    for (size_t i = 0; i < games.size(); i += 6) {
        for (int depth : { 0, 1, 2, 3, 4, 5, 6, 8, 12, 19, 20, 30, 45, 58 }) {
            MoveList query = MoveList::fromBytes(games[i].bytes().substr(0, size_t(depth)));
            if (query.size() < depth)
                continue;
            query = imageOf(query, kOrder[i % 4]);
            const auto got = explorer.explore(indices(query));
            const auto want = expected(replayed, query);
            ASSERT_EQ(describe(got), describe(want)) << movesToText(query);
            nonEmpty += !got.empty();
        }
    }
    for (const auto& [game, pass] : passing) {
        for (int depth : { pass, pass + 1, pass + 2 }) {
            const MoveList query
                = imageOf(MoveList::fromBytes(game.bytes().substr(0, size_t(depth))), kOrder[2]);
            const auto got = explorer.explore(indices(query));
            ASSERT_EQ(describe(got), describe(expected(replayed, query))) << movesToText(query);
            passQueries += !got.empty();
        }
    }
    EXPECT_GT(nonEmpty, 500) << nonEmpty;
    EXPECT_GT(passQueries, 0);
}

TEST(OpeningExplorer, AnIndexMadeFromASnapshotAnswersAsARebuildAndOnlyWhileTheRecordsStay)
{
    std::mt19937 rng(11);
    CollectionTree tree;
    tree.ensureRoot("root", 0);
    std::vector<MoveList> games;
    for (int i = 0; i < 120; ++i) {
        games.push_back(randomGame(rng, i % 4 ? 60 : 12));
        addGame(tree, imageOf(games.back(), kOrder[size_t(i % 4)]), int(rng() % 3), int(rng() % 4),
            int(rng() % 65));
    }
    for (int slot = 5; slot < tree.slotCount(); slot += 13)
        tree.detachRecord(slot);
    OpeningExplorer rebuilt(tree);
    const int indexed = rebuilt.gameCount();
    OpeningExplorer installed(tree);
    EXPECT_FALSE(installed.current());
    EXPECT_FALSE(installed.exploreIfCurrent({}));
    const OpeningExplorer::Snapshot snapshot = installed.snapshot();
    EXPECT_EQ(snapshot.gameCount(), indexed);
    installed.install(OpeningExplorer::makeIndex(snapshot));
    ASSERT_TRUE(installed.current());
    for (size_t i = 0; i < games.size(); i += 7)
        for (int depth : { 0, 1, 3, 8, 20, 40 }) {
            const auto query = indices(imageOf(
                MoveList::fromBytes(games[i].bytes().substr(0, size_t(depth))), kOrder[i % 4]));
            const auto got = installed.exploreIfCurrent(query);
            ASSERT_TRUE(got);
            ASSERT_EQ(describe(*got), describe(rebuilt.explore(query))) << i << " " << depth;
        }

    // A record added after the snapshot leaves the index it makes stale, for the panel and for a
    // query that builds, which counts the new game.
    const OpeningExplorer::Snapshot before = installed.snapshot();
    addGame(tree, games[0], 1, 0, 40);
    installed.install(OpeningExplorer::makeIndex(before));
    EXPECT_FALSE(installed.current());
    EXPECT_FALSE(installed.exploreIfCurrent({}));
    EXPECT_EQ(installed.gameCount(), indexed + 1);
    EXPECT_TRUE(installed.current());
}
