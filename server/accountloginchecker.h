#pragma once

#include "server/loginchecker.h"
#include "server/storerunner.h"

#include <asio/io_context.hpp>
#include <asio/thread_pool.hpp>

#include <memory>

// Checks logins against the account database. The stored hash is read through the store runner;
// the deliberately slow hash comparison runs on worker threads, so one login never stalls everyone
// else, and its verdict is posted back to the loop. With no workers (and a runner without a
// thread) everything happens inside check() (the fuzz target wants that).
class AccountLoginChecker final : public LoginChecker {
public:
    AccountLoginChecker(StoreRunner& store, asio::io_context& io, int workers);
    ~AccountLoginChecker() override;

    void check(const std::string& name, const std::string& password,
        std::function<void(LoginVerdict)> done) override;

private:
    StoreRunner& m_store;
    asio::io_context& m_io;
    std::unique_ptr<asio::thread_pool> m_pool;
};
