#include "net/bytebuffer.h"

#include <algorithm>
#include <cstring>
#include <limits>

bool ByteBuffer::append(const char* bytes, int32_t n)
{
    if (!bytes)
        return true;
    return appendBytes(bytes, n > 0 ? static_cast<size_t>(n) : std::strlen(bytes));
}

bool ByteBuffer::append(std::string_view bytes)
{
    return appendBytes(bytes.data(), bytes.size());
}

namespace {

constexpr int64_t kLimit
    = std::numeric_limits<int32_t>::max() / ByteBuffer::blockSize * ByteBuffer::blockSize;

} // namespace

void ByteBuffer::reserve(int64_t capacity)
{
    capacity = std::min((capacity + blockSize - 1) / blockSize * blockSize, kLimit);
    if (capacity > m_capacity)
        reallocate(capacity);
}

void ByteBuffer::reallocate(int64_t capacity)
{
    auto grown = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(capacity));
    if (m_length > 0)
        std::memcpy(grown.get(), m_data.get(), static_cast<size_t>(m_length));
    m_data = std::move(grown);
    m_capacity = static_cast<int32_t>(capacity);
}

bool ByteBuffer::appendBytes(const char* bytes, size_t n)
{
    if (n == 0)
        return true;
    constexpr int64_t limit = kLimit;
    const int64_t needed = int64_t { m_length } + static_cast<int64_t>(n);
    if (n > static_cast<size_t>(limit) || needed > limit)
        return false;
    if (needed > m_capacity) {
        int64_t capacity = blockSize;
        if (m_capacity > 0 || needed > blockSize) {
            const int64_t shortfall = needed - m_capacity;
            capacity = m_capacity + (shortfall + blockSize - 1) / blockSize * blockSize;
        }
        reallocate(capacity);
    }
    std::memcpy(m_data.get() + m_length, bytes, n);
    m_length = static_cast<int32_t>(needed);
    return true;
}

void ByteBuffer::consume(int32_t n)
{
    if (n < 0)
        n = 0;
    if (n >= m_length) {
        m_length = 0;
        if (m_capacity > blockSize) {
            m_data.reset();
            m_capacity = 0;
        }
        return;
    }
    const int32_t remaining = m_length - n;
    if (m_capacity > blockSize && remaining <= blockSize) {
        auto block = std::make_unique_for_overwrite<char[]>(blockSize);
        std::memcpy(block.get(), m_data.get() + n, static_cast<size_t>(remaining));
        m_data = std::move(block);
        m_capacity = blockSize;
    } else if (n > 0) {
        std::memmove(m_data.get(), m_data.get() + n, static_cast<size_t>(remaining));
    }
    m_length = remaining;
}
