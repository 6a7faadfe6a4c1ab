#include "library/openingexplorer.h"

#include "board/bitposition.h"
#include "board/orientation.h"
#include "board/squares.h"
#include "library/collectiontree.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <numeric>

using bitboard::Bits;

namespace {

constexpr int kSymmetries = 8;
constexpr uint8_t kAllImages = 0xFF;
constexpr int kNoDepth = MoveList::kMaxMoves + 1;

// Where each symmetry takes square row × 8 + column, in the order in which they are tried.
constexpr int imageOf(int symmetry, int index)
{
    const int r = index / 8;
    const int c = index % 8;
    int row = r;
    int column = c;
    switch (symmetry) {
    case 1: // the a1–h8 diagonal
        row = c, column = r;
        break;
    case 2: // the a8–h1 diagonal
        row = 7 - c, column = 7 - r;
        break;
    case 3: // the half turn
        row = 7 - r, column = 7 - c;
        break;
    case 4: // the quarter turn taking a1 to h1
        row = c, column = 7 - r;
        break;
    case 5: // the quarter turn taking a1 to a8
        row = 7 - c, column = r;
        break;
    case 6: // left–right
        column = 7 - c;
        break;
    case 7: // top–bottom
        row = 7 - r;
        break;
    default:
        break;
    }
    return row * 8 + column;
}

constexpr std::array<std::array<uint8_t, 64>, kSymmetries> kImages = [] {
    std::array<std::array<uint8_t, 64>, kSymmetries> images {};
    for (int s = 0; s < kSymmetries; ++s)
        for (int i = 0; i < 64; ++i)
            images[size_t(s)][size_t(i)] = uint8_t(imageOf(s, i));
    return images;
}();

// The 0..63 index of a framed square; −1 off the 8 × 8 board.
constexpr std::array<int8_t, board::kCellCount> kIndexOfFramed = [] {
    std::array<int8_t, board::kCellCount> index {};
    for (int f = 0; f < board::kCellCount; ++f)
        index[size_t(f)]
            = board::isSquare8x8(f) ? int8_t(board::rowOf(f) * 8 + board::columnOf(f)) : int8_t(-1);
    return index;
}();

// The moves of a record as played, read one at a time from its stored moves: what playedMoves
// gives, without making the whole list.
class PlayedMoves {
public:
    explicit PlayedMoves(const GameRecord& record)
        : m_stored(record.moves.data())
        , m_map(kSquareMaps[size_t(record.orientation & 3)])
    {
        const int code = record.orientation;
        if ((code & 4) && m_stored[2] != 0)
            std::swap(m_order[0], m_order[2]);
        if ((code & 8) && m_stored[4] != 0)
            std::swap(m_order[2], m_order[4]);
    }
    int operator[](int index) const
    {
        return m_map[m_stored[index < 5 ? m_order[size_t(index)] : index]];
    }

private:
    // For each of the four symmetries of orientation codes, the framed square each byte becomes;
    // bytes that name no square stay as they are.
    static constexpr std::array<std::array<uint8_t, 256>, 4> kSquareMaps = [] {
        std::array<std::array<uint8_t, 256>, 4> maps {};
        for (int code = 0; code < 4; ++code) {
            for (int b = 0; b < 256; ++b) {
                int to = b;
                if (board::isSquare8x8(b)) {
                    const int i = board::rowOf(b);
                    const int j = board::columnOf(b);
                    to = code == 1  ? board::squareAt(7 - j, 7 - i)
                        : code == 2 ? board::squareAt(j, i)
                        : code == 3 ? board::squareAt(7 - i, 7 - j)
                                    : b;
                }
                maps[size_t(code)][size_t(b)] = uint8_t(to);
            }
        }
        return maps;
    }();
    const uint8_t* m_stored;
    const std::array<uint8_t, 256>& m_map;
    std::array<uint8_t, 5> m_order { 0, 1, 2, 3, 4 };
};

Bits imageOfBits(int symmetry, Bits bits)
{
    Bits out = 0;
    for (; bits; bits &= bits - 1)
        out |= Bits(1) << kImages[size_t(symmetry)][size_t(std::countr_zero(bits))];
    return out;
}

// The position as it stands for the side that really moves: after a forced pass.
// False when the game cannot pass through the position (depth moves from the start, with the
// given squares filled in each image) and go on with a legal move: it is too short, or no image
// has its discs on exactly those of the game's last moves played before the position, and its
// empty squares on the others and on the squares the game leaves empty.
bool mayPass(const auto& entry, int depth, const std::array<Bits, kSymmetries>& imageDiscs)
{
    const int legal = entry.legalMoves();
    if (legal <= depth)
        return false;
    const int tailMoves = std::min(legal, OpeningExplorer::kTailMoves);
    const int before = std::max(0, depth - (legal - tailMoves));
    // The last moves in order: those played after the position on its empty squares.
    Bits lastAfter = 0;
    Bits lastBefore = 0;
    for (int j = 0; j < std::min(legal, 3); ++j)
        (legal - 1 - j >= depth ? lastAfter : lastBefore) |= Bits(1) << entry.lastMove(j);
    // The squares left empty at the end were empty at the position too.
    const int emptyAtEnd = MoveList::kMaxMoves - legal;
    for (const Bits discs : imageDiscs)
        if ((lastAfter & discs) == 0 && (lastBefore & ~discs) == 0
            && std::popcount(entry.tail & discs) == before
            && std::popcount(entry.tail & ~discs) == tailMoves - before + emptyAtEnd)
            return true;
    return false;
}

BitPosition settled(BitPosition position)
{
    position.passIfStuck();
    return position;
}

struct Tally {
    uint32_t games = 0;
    uint32_t black = 0;
    uint32_t white = 0;
    uint32_t others = 0;
    uint32_t normalEnds = 0;
    uint64_t blackDiscs = 0;
};

} // namespace

OpeningExplorer::OpeningExplorer(const CollectionTree& tree)
    : m_tree(tree)
{ }

void OpeningExplorer::rebuild()
{
    build();
}

int OpeningExplorer::gameCount() const
{
    if (stale())
        build();
    return int(m_entries.size());
}

std::size_t OpeningExplorer::indexBytes() const
{
    if (stale())
        build();
    return m_entries.capacity() * sizeof(Entry);
}

bool OpeningExplorer::stale() const
{
    return m_stale || m_builtAt != m_tree.recordChanges();
}

void OpeningExplorer::build() const
{
    use(makeIndex(snapshot()));
}

void OpeningExplorer::install(Index index)
{
    use(std::move(index));
}

void OpeningExplorer::use(Index index) const
{
    m_entries = std::move(index.m_entries);
    m_builtAt = index.m_recordChanges;
    m_stale = false;
}

OpeningExplorer::Snapshot OpeningExplorer::snapshot() const
{
    // Only copies here: this runs on the thread that owns the tree, which waits for it. Turning
    // the stored moves into the moves as played is left to makeIndex: done here, it would take
    // three times as long.
    Snapshot s;
    s.m_recordChanges = m_tree.recordChanges();
    const int slotCount = std::min(m_tree.slotCount(), kMaxSlots);
    s.m_games.reserve(size_t(slotCount));
    s.m_slots.reserve(size_t(slotCount));
    for (int slot = 0; slot < slotCount; ++slot) {
        if (!m_tree.recordIsLive(slot))
            continue;
        const GameRecord& record = m_tree.record(slot);
        s.m_games.push_back(Snapshot::Game { record.moves, record.orientation, record.winner,
            int8_t(record.endType == GameRecord::normalEnd), record.blackDiscs });
        s.m_slots.push_back(slot);
    }
    return s;
}

OpeningExplorer::Index OpeningExplorer::makeIndex(Snapshot snapshot)
{
    std::vector<Snapshot::Game>& games = snapshot.m_games;
    const std::vector<int32_t>& slots = snapshot.m_slots;
    for (Snapshot::Game& game : games)
        game.moves = transform(game.moves, game.orientation);
    std::vector<int32_t> order(games.size());
    std::iota(order.begin(), order.end(), 0);
    // Move lists are zero-padded, so comparing all their bytes orders them as move strings, a
    // game before the games that continue it.
    std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        const int c = std::memcmp(
            games[size_t(a)].moves.data(), games[size_t(b)].moves.data(), MoveList::kMaxMoves);
        return c != 0 ? c < 0 : slots[size_t(a)] < slots[size_t(b)];
    });

    Index index;
    index.m_recordChanges = snapshot.m_recordChanges;
    std::vector<Entry>& entries = index.m_entries;
    entries.reserve(order.size());
    const MoveList* before = nullptr;
    for (int32_t i : order) {
        const Snapshot::Game& game = games[size_t(i)];
        const MoveList& moves = game.moves;
        int shared = 0;
        if (before) {
            while (shared < MoveList::kMaxMoves && moves[shared] != 0
                && moves[shared] == (*before)[shared])
                ++shared;
        }
        before = &moves;
        BitPosition end;
        const int legal = replayLegalPrefix(moves, end);
        Bits tail = ~end.occupied();
        for (int m = std::max(0, legal - kTailMoves); m < legal; ++m)
            tail |= Bits(1) << kIndexOfFramed[size_t(moves[m])];
        uint64_t fields = uint64_t(slots[size_t(i)]) | uint64_t(shared) << 24
            | uint64_t(legal) << 30 | uint64_t(game.winner & 3) << 36
            | uint64_t(game.normalEnd != 0) << 38
            | uint64_t(std::clamp<int>(game.blackDiscs, 0, 127)) << 39;
        for (int j = 0; j < std::min(legal, 3); ++j)
            fields |= uint64_t(kIndexOfFramed[size_t(moves[legal - 1 - j])]) << (46 + 6 * j);
        entries.push_back(Entry { tail, fields });
    }
    return index;
}

std::vector<ExplorerMove> OpeningExplorer::explore(const std::vector<int>& squaresFromStart) const
{
    if (stale())
        build();
    return walk(squaresFromStart);
}

std::optional<std::vector<ExplorerMove>> OpeningExplorer::exploreIfCurrent(
    const std::vector<int>& squaresFromStart) const
{
    if (stale())
        return std::nullopt;
    return walk(squaresFromStart);
}

std::vector<ExplorerMove> OpeningExplorer::walk(const std::vector<int>& squaresFromStart) const
{
    const int depth = int(squaresFromStart.size());
    if (depth > MoveList::kMaxMoves)
        return {};
    BitPosition query = BitPosition::start();
    for (int index : squaresFromStart) {
        if (index < 0 || index >= 64 || !query.play(board::squareAt(index / 8, index % 8)))
            return {};
    }
    query = settled(query);
    if (query.gameOver())
        return {};

    // For each square of a game, the images whose position has a disc there: a game stays a
    // candidate for an image only while every move it plays lands on one of them.
    const Bits occupied = query.occupied();
    std::array<uint8_t, 256> imagesAllowing {};
    for (int f = 0; f < board::kCellCount; ++f) {
        const int index = kIndexOfFramed[size_t(f)];
        if (index < 0)
            continue;
        for (int s = 0; s < kSymmetries; ++s)
            if (occupied >> kImages[size_t(s)][size_t(index)] & 1)
                imagesAllowing[size_t(f)] |= uint8_t(1 << s);
    }

    // The squares each image has a disc on, as a game would hold them.
    std::array<Bits, kSymmetries> imageDiscs {};
    for (int index = 0; index < 64; ++index)
        for (int s = 0; s < kSymmetries; ++s)
            if (occupied >> kImages[size_t(s)][size_t(index)] & 1)
                imageDiscs[size_t(s)] |= Bits(1) << index;
    // Near the start nearly every game passes the test of its last moves: it is not made there.
    const bool testTails = depth >= 6;

    std::array<Tally, 64> tallies {};
    std::array<BitPosition, MoveList::kMaxMoves + 1> positions;
    std::array<uint8_t, MoveList::kMaxMoves + 1> alive {};
    positions[0] = BitPosition::start();
    alive[0] = kAllImages;
    int replayed = 0; // positions[0..replayed] hold the current path
    int checked = 0; // alive[0..checked] hold the current path
    int dead = kNoDepth; // the current path's first dead prefix length
    int symmetry = depth == 0 ? 0 : -1; // the image the current path's position at depth matches
    int tally = -1; // where the current path's next move is counted
    const int slotCount = m_tree.slotCount();
    std::optional<PlayedMoves> moves;

    for (const Entry& entry : m_entries) {
        const int shared = entry.sharedPrefix();
        if (shared >= dead)
            continue;
        dead = kNoDepth;
        if (testTails && !mayPass(entry, depth, imageDiscs)) {
            // This game never reaches the position with a legal move to follow, so neither does
            // any game sharing its moves up to the position (or up to its first illegal move).
            dead = entry.legalMoves() <= depth ? entry.legalMoves() + 1 : depth;
            replayed = std::min(replayed, shared);
            checked = std::min(checked, shared);
            continue;
        }
        if (shared <= depth) {
            // A new path from the move at shared on: read the game's moves.
            if (entry.slot() >= slotCount) {
                dead = 0; // the index fell behind the tree; skip until the next rebuild
                continue;
            }
            moves.emplace(m_tree.record(entry.slot()));
            // The path to the position is new unless the game before reached it the same way.
            if (shared < depth || replayed < depth) {
                replayed = std::min(replayed, shared);
                int d = std::min(checked, shared);
                for (; d < depth && (*moves)[d] != 0; ++d) {
                    alive[size_t(d + 1)] = alive[size_t(d)] & imagesAllowing[size_t((*moves)[d])];
                    if (!alive[size_t(d + 1)])
                        break;
                }
                checked = d < depth && (*moves)[d] != 0 ? d + 1 : d;
                if (d < depth) {
                    dead = d + 1;
                    continue;
                }
                for (; replayed < depth; ++replayed) {
                    positions[size_t(replayed + 1)] = positions[size_t(replayed)];
                    if (!positions[size_t(replayed + 1)].play((*moves)[replayed]))
                        break;
                }
                if (replayed < depth) {
                    dead = replayed + 1;
                    continue;
                }
                const BitPosition reached = settled(positions[size_t(depth)]);
                symmetry = -1;
                for (int s = 0; s < kSymmetries && symmetry < 0; ++s) {
                    if ((alive[size_t(depth)] >> s & 1) && reached.toMove == query.toMove
                        && imageOfBits(s, reached.black) == query.black
                        && imageOfBits(s, reached.white) == query.white)
                        symmetry = s;
                }
                if (symmetry < 0) {
                    dead = depth;
                    continue;
                }
            } else if (symmetry < 0) {
                dead = depth;
                continue;
            }
            // The same position as the path before; a new next move.
            tally = -1;
            const int next = depth < MoveList::kMaxMoves ? (*moves)[depth] : 0;
            BitPosition after = positions[size_t(depth)];
            if (next == 0 || !after.play(next)) {
                dead = depth + 1;
                continue;
            }
            tally = kImages[size_t(symmetry)][size_t(kIndexOfFramed[size_t(next)])];
        }
        if (tally < 0)
            continue;
        Tally& t = tallies[size_t(tally)];
        ++t.games;
        const int winner = entry.winner();
        if (winner == GameRecord::blackWins)
            ++t.black;
        else if (winner == GameRecord::whiteWins)
            ++t.white;
        else
            ++t.others;
        if (entry.normalEnd()) {
            ++t.normalEnds;
            t.blackDiscs += uint64_t(entry.blackDiscs());
        }
    }

    std::vector<ExplorerMove> out;
    for (int index = 0; index < 64; ++index) {
        const Tally& t = tallies[size_t(index)];
        if (!t.games)
            continue;
        ExplorerMove move { index, t.games, t.black, t.white, t.others, std::nullopt };
        if (t.normalEnds)
            move.avgBlackDiscs = double(t.blackDiscs) / double(t.normalEnds);
        out.push_back(move);
    }
    std::sort(out.begin(), out.end(), [](const ExplorerMove& a, const ExplorerMove& b) {
        if (a.games != b.games)
            return a.games > b.games;
        const int nameA = (a.square % 8) * 8 + a.square / 8;
        const int nameB = (b.square % 8) * 8 + b.square / 8;
        return nameA < nameB;
    });
    return out;
}
