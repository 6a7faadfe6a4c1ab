#include "capture/followedgame.h"

#include "board/notation.h"
#include "board/orientation.h"

#include <array>
#include <cstdio>
#include <span>
#include <vector>

using namespace board;

namespace {

// The most new discs searched for at once: the search tries their orderings, and beyond this a
// timer tick could not afford it.
constexpr size_t kMaxNewDiscs = 12;

// The snapshot's cells with anything but a disc taken as empty.
std::array<uint8_t, 64> discsOf(const TableSnapshot& snapshot)
{
    std::array<uint8_t, 64> cells = snapshot.cells;
    for (uint8_t& cell : cells)
        if (!isColour(cell))
            cell = kEmpty;
    return cells;
}

OthelloBoard boardOf(const TableSnapshot& snapshot)
{
    OthelloBoard board;
    board.load8x8Cells(discsOf(snapshot));
    return board;
}

// Up to this many new discs, an order that gives the picture exactly and passes only where the
// rules force a pass is looked for before the general search, whose answer may have a side pass
// while it could move (a move list that then does not replay) or end with a disc shown before its
// flips when the picture already shows them.
constexpr int kMaxExactDepth = 4;

// Plays an order of the candidate moves, colour first, that gives exactly target, a side passing
// only when it has no legal move; false (and the game as it was) when there is none.
bool playExactly(OthelloGame& game, std::span<const int> candidates, int colour,
    const OthelloBoard& target, int depth)
{
    if (depth == 0)
        return game.samePosition(target);
    if (game.hasNoMove(colour))
        return !game.hasNoMove(opponent(colour))
            && playExactly(game, candidates, opponent(colour), target, depth);
    for (const int square : candidates) {
        if (game.cell(square) != kEmpty || !game.playAndRecord(square, colour))
            continue;
        if (playExactly(game, candidates, opponent(colour), target, depth - 1))
            return true;
        game.undo();
        game.truncate(game.cursor());
    }
    return false;
}

} // namespace

FollowedGame::FollowedGame()
    : m_sideToMove(kBlack)
{
    m_game.selectVariant(OthelloBoard::kVariantStandard);
}

FollowedGame::Step FollowedGame::follow(const TableSnapshot& snapshot)
{
    const OthelloBoard table = boardOf(snapshot);
    if (m_game.fewerDiscsThan(table)) {
        const std::vector<int> squares = m_game.newlyOccupiedSquares(table);
        if (squares.empty() || squares.size() > kMaxNewDiscs)
            return Step::restart;
        if (squares.size() == 1)
            m_sideToMove = table.cell(squares.front());
        const int depth = static_cast<int>(squares.size());
        const bool exact = depth > 1 && depth <= kMaxExactDepth
            && playExactly(m_game, squares, m_sideToMove, table, depth);
        // Several moves in one reading can be put in more than one order with the same picture,
        // and the order taken last time may have ended with the other side: the other side is
        // tried too.
        if (!exact && !m_game.reach(squares, m_sideToMove, table, depth)
            && (depth == 1 || !m_game.reach(squares, opponent(m_sideToMove), table, depth)))
            return Step::restart;
        const int mover = m_game.current()->colour;
        m_sideToMove = opponent(mover);
        if (m_game.hasNoMove(m_sideToMove) && !m_game.hasNoMove(mover))
            m_sideToMove = mover;
        return Step::movesInferred;
    }
    if (m_game.moreDiscsThan(table))
        return Step::restart;
    return Step::noChange;
}

void FollowedGame::restart(const TableSnapshot& snapshot)
{
    m_game.reset();
    m_game.selectVariant(OthelloBoard::kVariantStandard);
    m_sideToMove = kBlack;
    m_blackName = snapshot.blackName;
    m_whiteName = snapshot.whiteName;

    const OthelloBoard table = boardOf(snapshot);
    const int newDiscs = table.discCount() - 4;
    if (newDiscs >= 1 && newDiscs <= static_cast<int>(kMaxNewDiscs)) {
        const std::vector<int> squares = m_game.newlyOccupiedSquares(table);
        if (m_game.reach(squares, kBlack, table, newDiscs))
            m_sideToMove = opponent(m_game.current()->colour);
    }
    if (m_game.discCount() <= 4) {
        // Picked up in the middle: the position as it stands, without its moves.
        m_game.reset();
        m_game.load8x8Cells(discsOf(snapshot));
        m_sideToMove = m_game.discCount() % 2 == 1 ? kWhite : kBlack;
    }
}

int FollowedGame::missingMoves() const
{
    return m_game.discCount() - 4 - m_game.moves().size();
}

bool FollowedGame::complete() const
{
    const MoveList moves = m_game.moves();
    if (m_game.discCount() != moves.size() + 4)
        return false;
    // A position taken over as it stood may hold four discs off the starting squares; its moves
    // would then not replay, and must not be filed.
    OthelloGame replay;
    replay.selectVariant(OthelloBoard::kVariantStandard);
    return replay.replay(moves) == moves.size() && replay.samePosition(m_game);
}

std::string FollowedGame::moveText() const
{
    std::string text;
    for (int i = 0; i < missingMoves(); ++i)
        text += "- ";
    text += movesToText(m_game.moves());
    constexpr size_t kLine = 60;
    if (text.size() > kLine)
        text.insert(kLine, "\r\n");
    return text;
}

std::string FollowedGame::copyText() const
{
    return movesToText(m_game.moves());
}

CapturedGame FollowedGame::record(std::time_t now) const
{
    CapturedGame game;
    std::tm local {};
    localtime_r(&now, &local);
    char name[32];
    std::snprintf(name, sizeof name, "%04d%02d%02d%02d%02d%02d", local.tm_year + 1900,
        local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    game.name = name;
    game.blackName = m_blackName;
    game.whiteName = m_whiteName;
    const MoveList moves = m_game.moves();
    game.orientation = classifyOpening(moves);
    game.moves = transform(moves, game.orientation);
    game.moveCount = moves.size();
    if (over()) {
        game.blackDiscs = m_game.blackCount();
        game.whiteDiscs = m_game.whiteCount();
        game.winner = game.blackDiscs > game.whiteDiscs ? GameRecord::blackWins
            : game.whiteDiscs > game.blackDiscs         ? GameRecord::whiteWins
                                                        : GameRecord::noWinner;
        game.endType = GameRecord::normalEnd;
    } else {
        game.winner = GameRecord::noWinner;
        game.endType = GameRecord::unfinished;
    }
    game.playedAt = static_cast<int32_t>(now);
    return game;
}
