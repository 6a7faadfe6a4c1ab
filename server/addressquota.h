#pragma once

#include <chrono>
#include <deque>
#include <string>
#include <unordered_map>

// Counts events per client address over a sliding time window and refuses those beyond a limit.
// It keeps at most `limit` times per address, and addresses with nothing left in the window are
// forgotten by forgetOld.
class AddressQuota {
public:
    // A limit of 0 allows everything.
    AddressQuota(size_t limit, std::chrono::milliseconds window);

    // True (and the event counted) when the address is still within its limit at `now`.
    bool take(const std::string& address, std::chrono::milliseconds now);
    // Whether take would succeed, without counting anything.
    bool allows(const std::string& address, std::chrono::milliseconds now);
    // Drops the addresses whose events have all left the window. Called periodically.
    void forgetOld(std::chrono::milliseconds now);
    size_t addressCount() const { return m_times.size(); }

private:
    void dropExpired(
        std::deque<std::chrono::milliseconds>& times, std::chrono::milliseconds now) const;

    size_t m_limit;
    std::chrono::milliseconds m_window;
    std::unordered_map<std::string, std::deque<std::chrono::milliseconds>> m_times;
};
