#pragma once

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>

// Batches made by several threads, out of order, and taken by one consumer in the order of their
// numbers. Makers stay at most maxAhead batches ahead of the consumer, so memory stays bounded
// however fast they are; stop() releases everyone waiting.
template <typename Batch> class OrderedBatches {
public:
    explicit OrderedBatches(size_t maxAhead)
        : m_maxAhead(maxAhead)
    { }

    // Waits until batch number may be made without running too far ahead; false once stopped.
    bool waitForRoom(size_t number)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_stopped || number < m_next + m_maxAhead; });
        return !m_stopped;
    }

    // True when batch number could be made now without waiting.
    bool hasRoom(size_t number)
    {
        std::lock_guard lock(m_mutex);
        return number < m_next + m_maxAhead;
    }

    void put(size_t number, Batch batch)
    {
        {
            std::lock_guard lock(m_mutex);
            m_ready.insert_or_assign(number, std::move(batch));
        }
        m_changed.notify_all();
    }

    // No batch from total on will come.
    void finish(size_t total)
    {
        {
            std::lock_guard lock(m_mutex);
            m_total = total;
        }
        m_changed.notify_all();
    }

    void stop()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopped = true;
        }
        m_changed.notify_all();
    }

    // The next batch in order if it is there; with wait, waits for it. None when it will never
    // come (all were taken, or stopped).
    std::optional<Batch> take(bool wait)
    {
        std::unique_lock lock(m_mutex);
        const auto there = [&] {
            return m_stopped || m_ready.contains(m_next) || (m_total && m_next >= *m_total);
        };
        if (wait)
            m_changed.wait(lock, there);
        const auto it = m_ready.find(m_next);
        if (m_stopped || it == m_ready.end())
            return std::nullopt;
        std::optional<Batch> batch(std::move(it->second));
        m_ready.erase(it);
        ++m_next;
        lock.unlock();
        m_changed.notify_all();
        return batch;
    }

private:
    const size_t m_maxAhead;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<size_t, Batch> m_ready;
    size_t m_next = 0;
    std::optional<size_t> m_total;
    bool m_stopped = false;
};
