#pragma once

#include "server/accountstore.h"
#include "server/loginchecker.h"

#include <asio/io_context.hpp>
#include <asio/thread_pool.hpp>

#include <memory>

// Checks logins against the account database. The stored hash is read on the event loop; the
// deliberately slow hash comparison runs on worker threads, so one login never stalls everyone
// else, and its verdict is posted back to the loop. With no workers everything happens inside
// check() (the fuzz target wants that).
class AccountLoginChecker final : public LoginChecker {
public:
    AccountLoginChecker(AccountStore& store, asio::io_context& io, int workers);
    ~AccountLoginChecker() override;

    void check(const std::string& name, const std::string& password,
        std::function<void(LoginVerdict)> done) override;

private:
    AccountStore& m_store;
    asio::io_context& m_io;
    std::unique_ptr<asio::thread_pool> m_pool;
};
