#include "server/addressquota.h"

AddressQuota::AddressQuota(size_t limit, std::chrono::milliseconds window)
    : m_limit(limit)
    , m_window(window)
{ }

void AddressQuota::dropExpired(
    std::deque<std::chrono::milliseconds>& times, std::chrono::milliseconds now) const
{
    while (!times.empty() && now - times.front() >= m_window)
        times.pop_front();
}

bool AddressQuota::take(const std::string& address, std::chrono::milliseconds now)
{
    if (m_limit == 0)
        return true;
    auto& times = m_times[address];
    dropExpired(times, now);
    if (times.size() >= m_limit)
        return false;
    times.push_back(now);
    return true;
}

bool AddressQuota::allows(const std::string& address, std::chrono::milliseconds now)
{
    if (m_limit == 0)
        return true;
    const auto it = m_times.find(address);
    if (it == m_times.end())
        return true;
    dropExpired(it->second, now);
    return it->second.size() < m_limit;
}

void AddressQuota::forgetOld(std::chrono::milliseconds now)
{
    for (auto it = m_times.begin(); it != m_times.end();) {
        dropExpired(it->second, now);
        it = it->second.empty() ? m_times.erase(it) : std::next(it);
    }
}
