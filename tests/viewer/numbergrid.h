#pragma once

#include "board/movenumbergrid.h"
#include "board/notation.h"
#include "board/othellogame.h"
#include "board/squares.h"

#include <initializer_list>
#include <utility>

// A move-number sheet with numbers written on squares named as text ("F5"), replayed as the
// editor replays it.
inline MoveNumberGrid gridOf(std::initializer_list<std::pair<const char*, int>> numbers)
{
    MoveNumberGrid grid;
    for (const auto& [square, n] : numbers) {
        const int index = textToMoves(square)[0];
        grid.set(board::rowOf(index), board::columnOf(index), n);
    }
    OthelloGame game;
    grid.replayOnto(game);
    return grid;
}
