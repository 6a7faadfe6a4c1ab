#include "board/othellogame.h"

#include <algorithm>

using namespace board;

void OthelloGame::reset()
{
    blockAll();
    m_cursor = 0;
    m_length = 0;
}

const MoveEntry* OthelloGame::playAndRecord(int square, int colour)
{
    if (play(square, colour) == 0)
        return nullptr;
    MoveEntry& e = m_history[m_cursor];
    e.colour = colour;
    e.square = square;
    e.flipCount = flipCount();
    std::copy(flips().begin(), flips().end(), e.flips.begin());
    m_length = ++m_cursor;
    return &e;
}

const MoveEntry* OthelloGame::undo()
{
    if (m_cursor == 0)
        return nullptr;
    const MoveEntry& e = m_history[--m_cursor];
    setCell(e.square, kEmpty);
    const int other = opponent(e.colour);
    for (uint8_t s : e.flipped())
        setCell(s, other);
    return &e;
}

const MoveEntry* OthelloGame::redo()
{
    if (m_cursor == m_length)
        return nullptr;
    const MoveEntry& e = m_history[m_cursor++];
    setCell(e.square, e.colour);
    for (uint8_t s : e.flipped())
        setCell(s, e.colour);
    return &e;
}

const MoveEntry* OthelloGame::current() const
{
    return m_cursor > 0 ? &m_history[m_cursor - 1] : nullptr;
}

const MoveEntry* OthelloGame::entry(int index) const
{
    return index >= 0 && index < m_length ? &m_history[index] : nullptr;
}

void OthelloGame::truncate(int n)
{
    m_length = std::clamp(n, m_cursor, m_length);
}

MoveList OthelloGame::moves() const
{
    MoveList list;
    for (int i = 0; i < m_length && m_history[i].flipCount > 0; ++i) {
        if (!list.append(m_history[i].square))
            break;
    }
    return list;
}

int OthelloGame::replay(const MoveList& moves)
{
    int colour = kBlack;
    int applied = 0;
    for (int square : moves) {
        const MoveEntry* e = playAndRecord(square, colour);
        if (!e)
            e = playAndRecord(square, opponent(colour));
        if (!e)
            break;
        colour = opponent(e->colour);
        ++applied;
    }
    return applied;
}

int OthelloGame::sideToMove() const
{
    const int next = m_cursor > 0 ? opponent(m_history[m_cursor - 1].colour) : kBlack;
    return hasNoMove(next) ? opponent(next) : next;
}
