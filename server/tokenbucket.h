#pragma once

#include <chrono>
#include <cstdint>

// Allows `rate` events per second on average with bursts of up to `burst` events, on the
// server's steady clock. Counted in thousandths of an event, so the refill is exact.
class TokenBucket {
public:
    TokenBucket() = default;
    // Starts full. A rate of 0 allows everything.
    TokenBucket(int rate, int burst, std::chrono::milliseconds now);

    // True (and one event counted) when an event is allowed now.
    bool take(std::chrono::milliseconds now);

private:
    std::int64_t m_rate = 0; // thousandths of an event per millisecond = events per second
    std::int64_t m_capacity = 0;
    std::int64_t m_level = 0;
    std::chrono::milliseconds m_updated {};
};
