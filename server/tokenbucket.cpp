#include "server/tokenbucket.h"

#include <algorithm>

namespace {

constexpr std::int64_t perEvent = 1000;

} // namespace

TokenBucket::TokenBucket(int rate, int burst, std::chrono::milliseconds now)
    : m_rate(std::max(0, rate))
    , m_capacity(std::int64_t { std::max(1, burst) } * perEvent)
    , m_level(m_capacity)
    , m_updated(now)
{ }

bool TokenBucket::take(std::chrono::milliseconds now)
{
    if (m_rate == 0)
        return true;
    // A clock that stands still or a long pause both end in a sensible level: no refill, or full.
    const std::int64_t elapsed = std::max<std::int64_t>(0, (now - m_updated).count());
    m_updated = std::max(now, m_updated);
    m_level = elapsed >= m_capacity / m_rate ? m_capacity
                                             : std::min(m_capacity, m_level + elapsed * m_rate);
    if (m_level < perEvent)
        return false;
    m_level -= perEvent;
    return true;
}
