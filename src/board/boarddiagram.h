#pragma once

#include <array>
#include <cstdint>
#include <string>

class OthelloGame;

// A position drawn for printing or sharing: the discs of the 8 × 8 board and, for each square,
// the number of the move that put its disc there (the four starting discs have none). Squares are
// counted row by row from a1 at the top left.
struct BoardDiagram {
    std::array<uint8_t, 64> cells {}; // board::kEmpty, kBlack or kWhite
    std::array<uint8_t, 64> numbers {}; // 1..60; 0 for no move
    int lastMove = -1; // the square of the last move played, or −1 at the start
    bool showNumbers = false; // draw the numbers on the discs instead of the last-move mark

    // The game's position at its history cursor, with the numbers of the moves applied so far.
    static BoardDiagram of(const OthelloGame& game, bool showNumbers);
};

// The diagram as a standalone SVG picture of 240 × 240 units, laid out as the program's board
// picture: black margins with the coordinate labels, a green board with its grid and star points,
// the discs, then either the move numbers on the discs or the red last-move cross.
std::string diagramSvg(const BoardDiagram& diagram);
