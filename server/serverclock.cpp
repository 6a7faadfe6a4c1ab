#include "server/serverclock.h"

#include <ctime>

std::chrono::milliseconds SystemClock::steadyNow() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

std::int64_t SystemClock::unixNow() const
{
    return static_cast<std::int64_t>(std::time(nullptr));
}
