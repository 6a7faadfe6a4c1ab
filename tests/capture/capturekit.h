#pragma once

#include "board/movelist.h"
#include "board/notation.h"
#include "board/othellogame.h"
#include "capture/tablesnapshot.h"

#include <string>
#include <string_view>

// Snapshots of a game as a table shows it, for the capture tests.
namespace capturekit {

inline OthelloGame gameAfter(const MoveList& moves, int count)
{
    OthelloGame game;
    game.selectVariant(OthelloBoard::kVariantStandard);
    game.replay(MoveList::fromBytes(moves.bytes().substr(0, static_cast<size_t>(count))));
    return game;
}

inline TableSnapshot snapshotOf(const OthelloBoard& board, std::string room = "room", int table = 1,
    std::string black = "alice", std::string white = "bob")
{
    TableSnapshot s;
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column) {
            const int cell = board.cell(board::squareAt(row, column));
            s.cells[static_cast<size_t>(row * 8 + column)] = static_cast<uint8_t>(cell);
            s.blackCount += cell == board::kBlack;
            s.whiteCount += cell == board::kWhite;
        }
    s.room = std::move(room);
    s.table = table;
    s.host = "host";
    s.blackName = std::move(black);
    s.whiteName = std::move(white);
    return s;
}

// The table after the first count moves of the game written as text.
inline TableSnapshot snapshotAfter(std::string_view moves, int count, std::string room = "room",
    int table = 1, std::string black = "alice", std::string white = "bob")
{
    return snapshotOf(gameAfter(textToMoves(moves), count), std::move(room), table,
        std::move(black), std::move(white));
}

// The table after count moves and then the disc of move count + 1 placed, its flips not yet
// shown: what a reading sees while the client draws a move.
inline TableSnapshot snapshotMidMove(std::string_view moves, int count)
{
    const MoveList list = textToMoves(moves);
    OthelloGame game = gameAfter(list, count);
    const int square = list[count];
    int colour = game.sideToMove();
    if (!game.canPlay(square, colour))
        colour = board::opponent(colour);
    game.setCell(square, colour);
    return snapshotOf(game);
}

} // namespace capturekit
