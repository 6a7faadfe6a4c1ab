#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

// A growable byte buffer that grows and shrinks in whole blocks of 2048 bytes, so that a drained
// connection buffer holds at most one block. The storage is null while the capacity is 0.
class ByteBuffer {
public:
    static constexpr int32_t blockSize = 2048;

    int32_t capacity() const { return m_capacity; }
    int32_t length() const { return m_length; }
    bool empty() const { return m_length == 0; }
    const char* data() const { return m_data.get(); }
    std::string_view view() const { return { m_data.get(), static_cast<size_t>(m_length) }; }

    // Appends n bytes; n <= 0 takes the bytes up to the first NUL. An empty buffer that needs at
    // most one block gets exactly one; otherwise the capacity grows by the shortfall rounded up to
    // whole blocks. False (and nothing appended) when the length would pass the 32-bit range.
    bool append(const char* bytes, int32_t n);
    // Appends exactly these bytes (NULs included).
    bool append(std::string_view bytes);
    // Makes room for at least capacity bytes in whole blocks (at most the largest length append
    // takes), keeping the contents.
    void reserve(int64_t capacity);
    // Removes n bytes from the front. What remains moves down in place, except that a buffer of
    // more than one block left with at most one block's worth moves into a fresh single block; a
    // buffer emptied completely gives back its storage when it held more than one block.
    void consume(int32_t n);
    void clear() { consume(m_length); }

private:
    bool appendBytes(const char* bytes, size_t n);
    void reallocate(int64_t capacity);

    int32_t m_capacity = 0;
    int32_t m_length = 0;
    std::unique_ptr<char[]> m_data;
};
