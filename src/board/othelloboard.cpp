#include "board/othelloboard.h"

#include <algorithm>

using namespace board;

OthelloBoard::OthelloBoard()
{
    blockAll();
}

void OthelloBoard::blockAll()
{
    m_cells.fill(kBlocked);
    m_blackCount = 0;
    m_whiteCount = 0;
    m_flipCount = 0;
}

void OthelloBoard::initialise(int size, bool cornersRemoved)
{
    const int n = std::clamp(size, 4, 10);
    blockAll();
    m_size = n;
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column)
            m_cells[squareAt(row, column)] = kEmpty;
    }
    if (cornersRemoved) {
        const int corners[12][2] = { { 0, 0 }, { 0, 1 }, { 1, 0 }, { 0, n - 2 }, { 0, n - 1 },
            { 1, n - 1 }, { n - 2, 0 }, { n - 1, 0 }, { n - 1, 1 }, { n - 1, n - 2 },
            { n - 1, n - 1 }, { n - 2, n - 1 } };
        for (const auto& c : corners)
            m_cells[squareAt(c[0], c[1])] = kBlocked;
    }
    const int h = n / 2 - 1;
    setCell(squareAt(h, h), kWhite);
    setCell(squareAt(h + 1, h + 1), kWhite);
    setCell(squareAt(h, h + 1), kBlack);
    setCell(squareAt(h + 1, h), kBlack);
}

void OthelloBoard::selectVariant(int code)
{
    switch (code) {
    case kVariant6x6:
        initialise(6, false);
        break;
    case kVariantOcto:
        initialise(10, true);
        break;
    case kVariantPerfect:
        initialise(10, false);
        break;
    default:
        initialise(8, false);
        break;
    }
}

bool OthelloBoard::isPlayingArea(int square) const
{
    return square >= kFirstSquare && square < kCellCount && columnOf(square) < m_size
        && rowOf(square) < m_size;
}

void OthelloBoard::setCell(int square, int value)
{
    if (!isPlayingArea(square) || value < kEmpty || value > kBlocked)
        return;
    uint8_t& c = m_cells[square];
    if (c == kBlack)
        --m_blackCount;
    else if (c == kWhite)
        --m_whiteCount;
    c = static_cast<uint8_t>(value);
    if (value == kBlack)
        ++m_blackCount;
    else if (value == kWhite)
        ++m_whiteCount;
}

int OthelloBoard::cell(int square) const
{
    return square >= 0 && square < kCellCount ? m_cells[square] : kBlocked;
}

int OthelloBoard::bracketed(int square, int direction, int colour) const
{
    const int other = opponent(colour);
    int count = 0;
    int s = square + direction;
    while (m_cells[s] == other) {
        ++count;
        s += direction;
    }
    return m_cells[s] == colour ? count : 0;
}

bool OthelloBoard::canPlay(int square, int colour) const
{
    if (square < 0 || square >= kCellCount || m_cells[square] != kEmpty || !isColour(colour))
        return false;
    for (int direction : kDirections) {
        if (bracketed(square, direction, colour))
            return true;
    }
    return false;
}

int OthelloBoard::play(int square, int colour)
{
    if (square < 0 || square >= kCellCount || m_cells[square] != kEmpty || !isColour(colour))
        return 0;
    m_flipCount = 0;
    for (int direction : kDirections) {
        const int count = bracketed(square, direction, colour);
        for (int i = 1; i <= count; ++i) {
            const int s = square + i * direction;
            m_cells[s] = static_cast<uint8_t>(colour);
            m_flips[m_flipCount++] = static_cast<uint8_t>(s);
        }
    }
    if (m_flipCount == 0)
        return 0;
    m_cells[square] = static_cast<uint8_t>(colour);
    int& mine = colour == kBlack ? m_blackCount : m_whiteCount;
    int& theirs = colour == kBlack ? m_whiteCount : m_blackCount;
    mine += m_flipCount + 1;
    theirs -= m_flipCount;
    return m_flipCount;
}

bool OthelloBoard::hasNoMove(int colour) const
{
    for (int square = kFirstSquare; square < kCellCount; ++square) {
        if (canPlay(square, colour))
            return false;
    }
    return true;
}

bool OthelloBoard::gameOver() const
{
    return hasNoMove(kBlack) && hasNoMove(kWhite);
}

void OthelloBoard::load8x8Cells(std::span<const uint8_t, 64> cells)
{
    selectVariant(kVariantStandard);
    for (int i = 0; i < 64; ++i) {
        const int value = cells[i];
        setCell(squareAt(i / 8, i % 8),
            value == kBlack || value == kWhite || value == kBlocked ? value : kEmpty);
    }
}

bool OthelloBoard::fewerDiscsThan(const OthelloBoard& other) const
{
    return discCount() < other.discCount();
}

bool OthelloBoard::moreDiscsThan(const OthelloBoard& other) const
{
    return discCount() > other.discCount();
}

bool OthelloBoard::samePosition(const OthelloBoard& other) const
{
    if (discCount() != other.discCount())
        return false;
    for (int row = 0; row < 8; ++row) {
        const int first = squareAt(row, 0);
        if (!std::equal(&m_cells[first], &m_cells[first] + 8, &other.m_cells[first]))
            return false;
    }
    return true;
}

std::vector<int> OthelloBoard::newlyOccupiedSquares(const OthelloBoard& snapshot) const
{
    std::vector<int> squares;
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const int s = squareAt(row, column);
            if (isColour(m_cells[s]) && snapshot.m_cells[s] == kEmpty)
                return {};
            if (isColour(snapshot.m_cells[s]) && m_cells[s] == kEmpty)
                squares.push_back(s);
        }
    }
    return squares;
}
