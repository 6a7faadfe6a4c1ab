#include "board/notation.h"
#include "board/othellogame.h"
#include "board/perft.h"

#include <benchmark/benchmark.h>

namespace {

OthelloGame startingGame()
{
    OthelloGame game;
    game.selectVariant(OthelloBoard::kVariantStandard);
    return game;
}

// Positions counted per second by play and record / undo from the start.
void BM_Perft(benchmark::State& state)
{
    OthelloGame game = startingGame();
    uint64_t nodes = 0;
    for (auto _ : state)
        nodes += perft(game, board::kBlack, int(state.range(0)));
    state.SetItemsProcessed(int64_t(nodes));
}
BENCHMARK(BM_Perft)->Arg(6)->Arg(8)->Unit(benchmark::kMillisecond);

// A full game of 60 moves replayed onto a fresh board, as the viewer does on opening a record.
void BM_ReplayFullGame(benchmark::State& state)
{
    const MoveList moves = textToMoves("F5F4C3C4E3D6C6B2G4F2D2G5H6F3E2D3G2H5G6H1G3C5F6G7H7E6B6B4"
                                       "F7E1G1H2D7G8F1C7D8A7B7C8C2B1H4A8A4B3B5H3A6E8D1C1A1A3E7"
                                       "F8B8A5H8A2");
    if (startingGame().replay(moves) != 60)
        state.SkipWithError("the game does not replay to its end");
    for (auto _ : state) {
        OthelloGame game = startingGame();
        benchmark::DoNotOptimize(game.replay(moves));
    }
}
BENCHMARK(BM_ReplayFullGame)->Unit(benchmark::kMicrosecond);

// The capture's search over 12 newly occupied squares, every one of them open with many legal
// orders, towards a target that one recoloured disc makes unreachable, so that every order must
// be ruled out. The games below are the slowest found among tens of thousands of random games.
struct ReachCase {
    const char* game;
    int before; // moves on the board
    int recoloured; // index among the 12 newly occupied squares
};

constexpr ReachCase kReachCases[] = {
    { "E6F4F3D6F5G3C4E7F6D3F7G5G7H7C7B8E8F2E2D2G8C6B6D7G6G4F1E1C2A5A6G1C5B3H5F8H2H6H8B7C8A8B4"
      "E3D8C1A2C3A4A7D1A3B1A1B2B5G2H3H1H4",
        45, 10 },
    { "C4C5D6C3B5D7C2B4A4A3B6A5D8B7F5G5G6E3D3C7F6G7C6B3B2D1A6E8E2C1H8A7A1F2B1F1H7D2H4F3C8A2"
      "F8B8G1G2E7E6F4G3H1H2F7G4A8H6H3H5E1G8",
        46, 1 },
    { "E6F6C4E7F5G4G7G6G5H4D7F4F7H8H3D6C6H2G3F3G2G1H5E3E2D8H7B6C7B7B8B3H6F2A8D2D1D3A6E1E8G8"
      "C3C8F1A5H1C5B5C2A3A4A2F8B2A7B4A1B1C1",
        45, 5 },
};

// The game before the 12 moves, the position after them and the squares they occupy.
struct ReachSetup {
    OthelloGame from;
    OthelloGame target;
    std::vector<int> candidates;

    explicit ReachSetup(const ReachCase& c)
    {
        const MoveList game = textToMoves(c.game);
        from = startingGame();
        from.replay(MoveList::fromBytes(game.bytes().substr(0, size_t(c.before))));
        target = startingGame();
        target.replay(MoveList::fromBytes(game.bytes().substr(0, size_t(c.before) + 12)));
        candidates = from.newlyOccupiedSquares(target);
    }
};

void BM_ReachTwelveSquares(benchmark::State& state)
{
    const ReachCase& c = kReachCases[state.range(0)];
    ReachSetup setup(c);
    const int square = setup.candidates.at(size_t(c.recoloured));
    setup.target.setCell(square, board::opponent(setup.target.cell(square)));
    const int colour = setup.from.sideToMove();
    for (auto _ : state) {
        OthelloGame game = setup.from;
        benchmark::DoNotOptimize(game.reach(setup.candidates, colour, setup.target, 12));
    }
}
BENCHMARK(BM_ReachTwelveSquares)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The same squares towards the real position 12 moves on, which the search finds.
void BM_ReachTwelveSquaresFound(benchmark::State& state)
{
    const ReachSetup setup(kReachCases[state.range(0)]);
    const int colour = setup.from.sideToMove();
    for (auto _ : state) {
        OthelloGame game = setup.from;
        if (!game.reach(setup.candidates, colour, setup.target, 12))
            state.SkipWithError("the real moves were not found");
    }
}
BENCHMARK(BM_ReachTwelveSquaresFound)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace
