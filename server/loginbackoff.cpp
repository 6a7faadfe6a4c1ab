#include "server/loginbackoff.h"

#include <algorithm>

std::chrono::milliseconds LoginBackoff::waitLeft(
    const std::string& key, std::chrono::milliseconds now) const
{
    const auto it = m_keys.find(key);
    if (it == m_keys.end() || it->second.waitUntil <= now)
        return std::chrono::milliseconds(0);
    return it->second.waitUntil - now;
}

std::chrono::milliseconds LoginBackoff::failed(
    const std::string& key, std::chrono::milliseconds now)
{
    if (m_settings.firstDelay.count() <= 0)
        return std::chrono::milliseconds(0);
    Entry& e = m_keys[key];
    ++e.failures;
    e.lastFailure = now;
    const int beyond = e.failures - m_settings.freeFailures;
    if (beyond <= 0)
        return std::chrono::milliseconds(0);
    std::chrono::milliseconds delay = m_settings.firstDelay;
    for (int i = 1; i < beyond && delay < m_settings.maxDelay; ++i)
        delay *= 2;
    delay = std::min(delay, m_settings.maxDelay);
    e.waitUntil = now + delay;
    e.refusalNoted = false;
    return delay;
}

bool LoginBackoff::firstRefusal(const std::string& key)
{
    const auto it = m_keys.find(key);
    if (it == m_keys.end() || it->second.refusalNoted)
        return false;
    it->second.refusalNoted = true;
    return true;
}

void LoginBackoff::forgetOld(std::chrono::milliseconds now)
{
    std::erase_if(m_keys, [&](const auto& item) {
        const Entry& e = item.second;
        return e.waitUntil <= now && now - e.lastFailure >= m_settings.forgetAfter;
    });
}
