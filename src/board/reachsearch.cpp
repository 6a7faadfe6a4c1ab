#include "board/othellogame.h"

#include "board/bitboard.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

using namespace board;
using bitboard::Bits;

// The search tries the candidate squares in every order, which grows as the factorial of their
// number, and the capture calls it with up to 12 squares inside its timer tick. It runs on
// bitboards, plays the moves it finds into the game only at the end, and cuts every search that
// cannot succeed:
// - a position whose search failed is remembered, and fails at once when another move order
//   reaches it again;
// - each disc of the wrong colour must still be flippable to its target colour by an open
//   candidate that can be played by that colour.
// Only hopeless searches are cut, so the first success in candidate order is the one that trying
// every order finds. What still grows beyond any timer tick is the rare position where many open
// candidates stay interchangeable to the end; after kMaxPositions positions the search gives up
// and reports failure, as it does for a snapshot too far from the board, and the caller starts
// again from the snapshot.
class OthelloGame::ReachSearch {
public:
    // Some 10 ms of searching on a slow desktop.
    static constexpr long kMaxPositions = 65536;

    ReachSearch(
        const OthelloGame& game, std::span<const int> candidates, const OthelloBoard& target);

    // Searches from the game's position; on success path() holds the moves found.
    bool run(int colour, int depth, bool passed);

    struct Move {
        int square;
        int colour;
    };
    const std::vector<Move>& path() const { return m_path; }

private:
    struct Candidate {
        int square;
        Bits bit;
        int at; // bit index
        Bits reach; // the squares a move here could ever flip

        Bits flips(Bits mine, Bits theirs) const { return bitboard::flips(at, mine, theirs); }
    };
    // A failed position: discs, side to move and pass; flags 0 marks an empty table slot.
    struct Key {
        Bits black = 0;
        Bits white = 0;
        uint32_t flags = 0;
        bool operator==(const Key&) const = default;
    };

    // Searches from a position in which every disc stands on a square the target fills and every
    // disc of the wrong colour lies within flippable, the reach of the open candidates.
    bool search(Bits black, Bits white, int colour, int depth, bool passed, Bits flippable);
    bool colourSplitPossible(Bits black, Bits white, Bits open, Bits flippable) const;
    bool matchesTarget(Bits black, Bits white) const
    {
        return black == m_targetBlack && white == m_targetWhite;
    }
    size_t slotOf(const Key& key) const;
    bool failedBefore(const Key& key) const;
    void rememberFailure(const Key& key);

    std::vector<Candidate> m_candidates; // on the board, in list order, each square once
    std::array<Bits, 64> m_reachOf {}; // Candidate::reach by bit index
    Bits m_candidateBits = 0;
    Bits m_black;
    Bits m_white;
    Bits m_blocked;
    Bits m_targetBlack;
    Bits m_targetWhite;
    bool m_possible = true;
    long m_positions = 0;
    bool m_gaveUp = false;
    std::vector<Key> m_failed; // open addressing, size a power of two, at most half full
    size_t m_failedCount = 0;
    std::vector<Move> m_path;
};

namespace {

Bits bitsOf(const OthelloBoard& b, int value)
{
    Bits bits = 0;
    for (int i = 0; i < 64; ++i) {
        if (b.cell(squareAt(i / 8, i % 8)) == value)
            bits |= Bits(1) << i;
    }
    return bits;
}

} // namespace

OthelloGame::ReachSearch::ReachSearch(
    const OthelloGame& game, std::span<const int> candidates, const OthelloBoard& target)
    : m_black(bitsOf(game, kBlack))
    , m_white(bitsOf(game, kWhite))
    , m_blocked(bitsOf(game, kBlocked))
    , m_targetBlack(bitsOf(target, kBlack))
    , m_targetWhite(bitsOf(target, kWhite))
    // Room for the failures a search over this many squares meets, so that it seldom grows.
    , m_failed(size_t(1) << std::clamp(int(candidates.size()) + 4, 8, 17))
{
    for (int square : candidates) {
        if (!isSquare8x8(square) || (bitboard::bit(square) & (m_candidateBits | m_blocked)))
            continue;
        m_candidates.push_back(
            { square, bitboard::bit(square), std::countr_zero(bitboard::bit(square)), 0 });
        m_candidateBits |= bitboard::bit(square);
    }
    // Discs are never taken off, only candidates get new ones and blocked squares stay blocked:
    // a target that breaks this, or holds discs outside the 8 × 8 area, can never be matched.
    const Bits discs = m_black | m_white;
    const Bits targetDiscs = m_targetBlack | m_targetWhite;
    const Bits filled = discs | m_candidateBits;
    m_possible = bitsOf(target, kBlocked) == m_blocked && !(targetDiscs & ~filled)
        && !(discs & ~targetDiscs) && target.discCount() == std::popcount(targetDiscs);
    // Every square that ever holds a disc does so from the start or is a candidate, so the squares
    // a candidate could ever flip are fixed: those on a line from it along which every square is
    // or may become a disc, with one more such square beyond to close the line.
    for (Candidate& c : m_candidates) {
        bitboard::forEachDirection([&]<int D>() {
            Bits line = bitboard::shift<D>(c.bit) & filled;
            Bits reached = line;
            while (line) {
                line = bitboard::shift<D>(line) & filled;
                reached |= line;
            }
            c.reach |= reached & bitboard::shift<7 - D>(filled);
        });
        m_reachOf[std::countr_zero(c.bit)] = c.reach;
    }
}

// A wrong disc needs a flip by its target colour, and each open candidate is played once, by one
// colour: by its target colour when nothing can flip it afterwards ("forced"), else by either
// ("free"). Some split of the free candidates between the colours must reach every wrong disc, and
// a free candidate played in the other colour needs a flip back later. Trying the splits costs
// 2^free, so only small sets are split.
bool OthelloGame::ReachSearch::colourSplitPossible(
    Bits black, Bits white, Bits open, Bits flippable) const
{
    const Bits wantBlack = white & m_targetBlack;
    const Bits wantWhite = black & m_targetWhite;
    if (!(wantBlack | wantWhite))
        return true;
    constexpr int kMaxSplit = 4;
    int free = 0;
    std::array<Bits, kMaxSplit> freeBit;
    std::array<Bits, kMaxSplit> freeReach;
    Bits byBlack = 0;
    Bits byWhite = 0;
    Bits anyFree = 0;
    for (Bits rest = open; rest; rest &= rest - 1) {
        const Bits c = rest & -rest;
        const Bits reach = m_reachOf[std::countr_zero(rest)];
        if (c & flippable) {
            if (free < kMaxSplit) {
                freeBit[free] = c;
                freeReach[free] = reach;
            }
            ++free;
            anyFree |= reach;
        } else if (c & m_targetBlack) {
            byBlack |= reach;
        } else if (c & m_targetWhite) {
            byWhite |= reach;
        }
    }
    if ((wantBlack & ~(byBlack | anyFree)) || (wantWhite & ~(byWhite | anyFree)))
        return false;
    if (free > kMaxSplit)
        return true;
    // By subset of the free candidates: what they reach, and those showing black or white in
    // the target.
    constexpr int kSubsets = 1 << kMaxSplit;
    std::array<Bits, kSubsets> reach;
    std::array<Bits, kSubsets> targetBlack;
    std::array<Bits, kSubsets> targetWhite;
    reach[0] = targetBlack[0] = targetWhite[0] = 0;
    const uint32_t all = (1u << free) - 1;
    for (uint32_t set = 1; set <= all; ++set) {
        const int i = std::countr_zero(set);
        const uint32_t rest = set & (set - 1);
        reach[set] = reach[rest] | freeReach[i];
        targetBlack[set] = targetBlack[rest] | (freeBit[i] & m_targetBlack);
        targetWhite[set] = targetWhite[rest] | (freeBit[i] & m_targetWhite);
    }
    for (uint32_t blackSet = 0; blackSet <= all; ++blackSet) {
        const uint32_t whiteSet = all ^ blackSet;
        if (!((wantBlack | targetBlack[whiteSet]) & ~(byBlack | reach[blackSet]))
            && !((wantWhite | targetWhite[blackSet]) & ~(byWhite | reach[whiteSet])))
            return true;
    }
    return false;
}

size_t OthelloGame::ReachSearch::slotOf(const Key& key) const
{
    uint64_t h
        = key.black * 0x9E3779B97F4A7C15ull ^ (key.white + key.flags) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 32;
    return size_t(h) & (m_failed.size() - 1);
}

bool OthelloGame::ReachSearch::failedBefore(const Key& key) const
{
    for (size_t i = slotOf(key);; i = (i + 1) & (m_failed.size() - 1)) {
        if (m_failed[i].flags == 0)
            return false;
        if (m_failed[i] == key)
            return true;
    }
}

void OthelloGame::ReachSearch::rememberFailure(const Key& key)
{
    if (2 * (m_failedCount + 1) > m_failed.size()) {
        std::vector<Key> old(m_failed.size() * 2);
        old.swap(m_failed);
        m_failedCount = 0;
        for (const Key& k : old) {
            if (k.flags)
                rememberFailure(k);
        }
    }
    size_t i = slotOf(key);
    while (m_failed[i].flags != 0)
        i = (i + 1) & (m_failed.size() - 1);
    m_failed[i] = key;
    ++m_failedCount;
}

bool OthelloGame::ReachSearch::run(int colour, int depth, bool passed)
{
    if (!m_possible)
        return false;
    const Bits open = m_candidateBits & ~(m_black | m_white);
    Bits flippable = 0;
    for (Bits rest = open; rest; rest &= rest - 1)
        flippable |= m_reachOf[std::countr_zero(rest)];
    const Bits wrong = (m_black & m_targetWhite) | (m_white & m_targetBlack);
    return !(wrong & ~flippable) && search(m_black, m_white, colour, depth, passed, flippable);
}

bool OthelloGame::ReachSearch::search(
    Bits black, Bits white, int colour, int depth, bool passed, Bits flippable)
{
    if (depth < 1)
        return matchesTarget(black, white);
    if (!isColour(colour) || m_gaveUp)
        return false;
    if (++m_positions > kMaxPositions) {
        m_gaveUp = true;
        return false;
    }
    const Key key { black, white, uint32_t(colour * 2 + passed) };
    if (failedBefore(key))
        return false;
    const Bits open = m_candidateBits & ~(black | white);
    if (!colourSplitPossible(black, white, open, flippable)) {
        rememberFailure(key);
        return false;
    }

    // The open candidates in list order, and what the others could flip for each of them.
    std::array<const Candidate*, 64> moves;
    std::array<Bits, 64> others;
    int count = 0;
    Bits before = 0;
    for (const Candidate& c : m_candidates) {
        if (c.bit & open) {
            moves[count] = &c;
            others[count++] = before;
            before |= c.reach;
        }
    }
    Bits after = 0;
    for (int i = count; i-- > 0;) {
        others[i] |= after;
        after |= moves[i]->reach;
    }

    const bool isBlack = colour == kBlack;
    const Bits mine = isBlack ? black : white;
    const Bits theirs = isBlack ? white : black;
    const Bits wrong = (black & m_targetWhite) | (white & m_targetBlack);
    const Bits notMine = isBlack ? m_targetWhite : m_targetBlack;
    bool tried = false;
    Bits unexamined = 0; // moves ruled out before knowing whether they are legal
    for (int i = 0; i < count; ++i) {
        const Candidate& c = *moves[i];
        // After the move every wrong disc must lie within reach of the other candidates, and the
        // new disc must stand where the target has one.
        if (((wrong & ~c.reach) | (c.bit & notMine)) & ~others[i]
            || !(c.bit & (m_targetBlack | m_targetWhite))) {
            unexamined |= c.bit;
            continue;
        }
        const Bits flipped = c.flips(mine, theirs);
        if (!flipped)
            continue;
        tried = true;
        if (((wrong & ~flipped) | (flipped & notMine)) & ~others[i])
            continue;
        const Bits nextMine = mine | c.bit | flipped;
        const Bits nextTheirs = theirs & ~flipped;
        m_path.push_back({ c.square, colour });
        if (search(isBlack ? nextMine : nextTheirs, isBlack ? nextTheirs : nextMine,
                opponent(colour), depth - 1, false, others[i]))
            return true;
        if (m_gaveUp)
            return false;
        m_path.pop_back();
    }
    // Whether a move was tried decides between passing and the last-disc rule below.
    for (int i = 0; i < count && !tried && unexamined; ++i) {
        if (moves[i]->bit & unexamined)
            tried = moves[i]->flips(mine, theirs) != 0;
    }
    if (depth == 1 && tried) {
        // The last disc may show before its flips: only the first open candidate is examined.
        const Candidate& first = *moves[0];
        const bool shown = isBlack ? matchesTarget(black | first.bit, white)
                                   : matchesTarget(black, white | first.bit);
        if (shown && first.flips(mine, theirs)) {
            m_path.push_back({ first.square, colour });
            return true;
        }
    } else if (!tried && !passed) {
        if (search(black, white, opponent(colour), depth, true, flippable))
            return true;
    }
    rememberFailure(key);
    return false;
}

bool OthelloGame::reach(
    std::span<const int> candidates, int colour, const OthelloBoard& target, int depth, bool passed)
{
    if (depth < 1)
        return samePosition(target);
    // The comparison covers the 8 × 8 area only, and each move adds one disc: no other board, and
    // no other disc count, can ever match.
    if (size() != 8 || target.discCount() != discCount() + depth)
        return false;
    ReachSearch search(*this, candidates, target);
    if (!search.run(colour, depth, passed))
        return false;
    for (const ReachSearch::Move& move : search.path())
        playAndRecord(move.square, move.colour);
    return true;
}
