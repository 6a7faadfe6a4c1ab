#include "server/accountloginchecker.h"

#include <asio/post.hpp>

AccountLoginChecker::AccountLoginChecker(AccountStore& store, asio::io_context& io, int workers)
    : m_store(store)
    , m_io(io)
{
    if (workers > 0)
        m_pool = std::make_unique<asio::thread_pool>(static_cast<size_t>(workers));
}

AccountLoginChecker::~AccountLoginChecker()
{
    if (m_pool)
        m_pool->join();
}

void AccountLoginChecker::check(
    const std::string& name, const std::string& password, std::function<void(LoginVerdict)> done)
{
    std::string hash;
    const AccountStore::Status status = m_store.passwordHash(name, hash);
    if (status != AccountStore::Status::Ok) {
        const LoginVerdict verdict = status == AccountStore::Status::NotFound
            ? LoginVerdict::UnknownUser
            : LoginVerdict::Failed;
        if (m_pool)
            asio::post(m_io, [done = std::move(done), verdict] { done(verdict); });
        else
            done(verdict);
        return;
    }
    if (!m_pool) {
        done(verifyPassword(hash, password) ? LoginVerdict::Accepted : LoginVerdict::WrongPassword);
        return;
    }
    asio::post(*m_pool, [this, hash = std::move(hash), password, done = std::move(done)]() mutable {
        const LoginVerdict verdict
            = verifyPassword(hash, password) ? LoginVerdict::Accepted : LoginVerdict::WrongPassword;
        asio::post(m_io, [done = std::move(done), verdict] { done(verdict); });
    });
}
