#pragma once

#include "server/accountstore.h"

#include <asio/io_context.hpp>
#include <asio/post.hpp>
#include <asio/thread_pool.hpp>

#include <memory>
#include <utility>

// Runs account-database work away from the event loop, on one thread of its own, so that a write
// waiting for the database's lock (an administration command holding it) never stalls the
// connections; the result is handed back on the loop. Work runs in the order it was given. With
// no thread of its own, work and result both run inside run() (tests and the fuzz target).
class StoreRunner {
public:
    StoreRunner(AccountStore& store, asio::io_context& io, bool ownThread)
        : m_store(store)
        , m_io(io)
    {
        if (ownThread)
            m_thread = std::make_unique<asio::thread_pool>(1);
    }
    ~StoreRunner() { join(); }
    StoreRunner(const StoreRunner&) = delete;
    StoreRunner& operator=(const StoreRunner&) = delete;

    // work(AccountStore&) returns a value; done(value) gets it on the loop.
    template <class Work, class Done> void run(Work work, Done done)
    {
        if (!m_thread) {
            done(work(m_store));
            return;
        }
        asio::post(*m_thread, [this, work = std::move(work), done = std::move(done)]() mutable {
            auto result = work(m_store);
            asio::post(m_io, [done = std::move(done), result = std::move(result)]() mutable {
                done(std::move(result));
            });
        });
    }
    // Waits for the work given so far; results not yet handed back are dropped with the loop.
    void join()
    {
        if (m_thread)
            m_thread->join();
    }

private:
    AccountStore& m_store;
    asio::io_context& m_io;
    std::unique_ptr<asio::thread_pool> m_thread;
};
