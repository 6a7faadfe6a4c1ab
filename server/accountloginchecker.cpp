#include "server/accountloginchecker.h"

#include <asio/post.hpp>

AccountLoginChecker::AccountLoginChecker(StoreRunner& store, asio::io_context& io, int workers)
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
    struct Stored {
        AccountStore::Status status;
        std::string hash;
    };
    m_store.run(
        [name](AccountStore& store) {
            Stored stored;
            stored.status = store.passwordHash(name, stored.hash);
            return stored;
        },
        [this, password, done = std::move(done)](Stored stored) mutable {
            if (stored.status != AccountStore::Status::Ok) {
                const LoginVerdict verdict = stored.status == AccountStore::Status::NotFound
                    ? LoginVerdict::UnknownUser
                    : LoginVerdict::Failed;
                if (m_pool)
                    asio::post(m_io, [done = std::move(done), verdict] { done(verdict); });
                else
                    done(verdict);
                return;
            }
            if (!m_pool) {
                done(verifyPassword(stored.hash, password) ? LoginVerdict::Accepted
                                                           : LoginVerdict::WrongPassword);
                return;
            }
            asio::post(*m_pool,
                [this, hash = std::move(stored.hash), password, done = std::move(done)]() mutable {
                    const LoginVerdict verdict = verifyPassword(hash, password)
                        ? LoginVerdict::Accepted
                        : LoginVerdict::WrongPassword;
                    asio::post(m_io, [done = std::move(done), verdict] { done(verdict); });
                });
        });
}
