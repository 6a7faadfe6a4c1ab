#pragma once

#include <chrono>
#include <cstdint>

// The server's two time sources: a steady one for intervals (idle time, ping delay, login
// timeout) and the calendar for login times. Tests replace it to control time.
class ServerClock {
public:
    virtual ~ServerClock() = default;
    virtual std::chrono::milliseconds steadyNow() const = 0;
    // Seconds since 1970-01-01 UTC.
    virtual std::int64_t unixNow() const = 0;
};

class SystemClock final : public ServerClock {
public:
    std::chrono::milliseconds steadyNow() const override;
    std::int64_t unixNow() const override;
};
