#include "board/movelist.h"

#include <algorithm>
#include <cstring>

MoveList MoveList::fromBytes(std::string_view bytes)
{
    MoveList list;
    size_t n = std::min(bytes.size(), size_t(kMaxMoves));
    // Loading a collection makes a list per record: a block copy up to the first zero.
    if (const void* zero = std::memchr(bytes.data(), 0, n))
        n = size_t(static_cast<const char*>(zero) - bytes.data());
    std::memcpy(list.m_squares.data(), bytes.data(), n);
    return list;
}

int MoveList::size() const
{
    return static_cast<int>(std::strlen(reinterpret_cast<const char*>(m_squares.data())));
}

bool MoveList::append(int square)
{
    if (square <= 0 || square > 255 || full())
        return false;
    m_squares[size()] = static_cast<uint8_t>(square);
    return true;
}

void MoveList::set(int index, int square)
{
    if (index < 0 || index >= size() || square <= 0 || square > 255)
        return;
    m_squares[index] = static_cast<uint8_t>(square);
}

std::string_view MoveList::bytes() const
{
    return { reinterpret_cast<const char*>(m_squares.data()), size_t(size()) };
}
