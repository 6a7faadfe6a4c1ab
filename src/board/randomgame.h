#pragma once

#include "board/movelist.h"

#include <random>

// A game of uniformly chosen legal moves from the start, with passes where a side has no move,
// ending after maxMoves moves or when neither side can move. The same generator state gives the
// same game on every platform. Tests, benchmarks and generated collections use it.
MoveList randomGame(std::mt19937& rng, int maxMoves = MoveList::kMaxMoves);
