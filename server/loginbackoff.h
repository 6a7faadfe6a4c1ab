#pragma once

#include <chrono>
#include <string>
#include <unordered_map>

// Failed logins per key (an account or an address) and the wait they have earned. The first few
// failures are free; each one after them makes the key wait, twice as long as the one before, up
// to a cap. A success clears the key. Keys with no failure for a while are forgotten.
class LoginBackoff {
public:
    struct Settings {
        int freeFailures = 3;
        std::chrono::milliseconds firstDelay { 1000 }; // 0: no waits at all
        std::chrono::milliseconds maxDelay { 300000 };
        std::chrono::milliseconds forgetAfter { std::chrono::hours(1) };
    };

    explicit LoginBackoff(Settings settings)
        : m_settings(settings)
    { }

    // How long the key must still wait at `now`; 0 when it may try.
    std::chrono::milliseconds waitLeft(const std::string& key, std::chrono::milliseconds now) const;
    // Counts a failure and returns the wait it starts (0 while failures are still free).
    std::chrono::milliseconds failed(const std::string& key, std::chrono::milliseconds now);
    void succeeded(const std::string& key) { m_keys.erase(key); }
    // True the first time it is asked during the key's current wait: one log line per episode.
    bool firstRefusal(const std::string& key);
    // Drops the keys whose last failure is older than forgetAfter. Called periodically.
    void forgetOld(std::chrono::milliseconds now);
    size_t keyCount() const { return m_keys.size(); }

private:
    struct Entry {
        int failures = 0;
        std::chrono::milliseconds lastFailure {};
        std::chrono::milliseconds waitUntil {};
        bool refusalNoted = false;
    };
    Settings m_settings;
    std::unordered_map<std::string, Entry> m_keys;
};
