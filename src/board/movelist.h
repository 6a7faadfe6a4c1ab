#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// A game as square indices, black first with passes implicit: at most 60 moves, kept
// zero-terminated in 61 bytes so it can stand as it is in a record. Every byte after the first
// zero is zero, so the last byte is always 0 and equal lists compare equal byte for byte.
class MoveList {
public:
    static constexpr int kMaxMoves = 60;

    MoveList() = default;
    // The bytes before the first zero byte, at most 60 of them; the rest is ignored.
    static MoveList fromBytes(std::string_view bytes);

    int size() const;
    bool empty() const { return m_squares[0] == 0; }
    bool full() const { return m_squares[kMaxMoves - 1] != 0; }
    int operator[](int index) const { return m_squares[index]; }
    // Appends a square (1..255); returns false and changes nothing when the list is full or the
    // square cannot be stored.
    bool append(int square);
    // Replaces move index with square (1..255); out-of-range indices and squares are ignored.
    void set(int index, int square);

    // The moves as bytes, without the terminator.
    std::string_view bytes() const;
    // The 60 move bytes as stored on disk, zero after the last move.
    const uint8_t* data() const { return m_squares.data(); }
    const uint8_t* begin() const { return m_squares.data(); }
    const uint8_t* end() const { return m_squares.data() + size(); }

    bool operator==(const MoveList&) const = default;

private:
    std::array<uint8_t, kMaxMoves + 1> m_squares {};
};
