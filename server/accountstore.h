#pragma once

#include "server/passwordhash.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;

// The server's database: user accounts (name and password hash) and the installation numbers
// handed out to copies of the desktop program. One SQLite file in write-ahead-log mode; every
// change is one transaction, so a killed process leaves the file consistent. Several processes
// may use the same file (the running server and the "user" administration commands).
class AccountStore {
public:
    enum class Status { Ok, Exists, NotFound, InvalidName, InvalidPassword, Failed };

    AccountStore() = default;
    ~AccountStore();
    AccountStore(const AccountStore&) = delete;
    AccountStore& operator=(const AccountStore&) = delete;

    // Opens (creating when missing) the database file; ":memory:" gives a private in-memory one.
    // On failure returns false and error() says why.
    bool open(const std::string& path);
    bool isOpen() const { return m_db != nullptr; }
    // How long a statement waits for another process's lock before it fails (5 s after open).
    void setBusyTimeout(int milliseconds);
    static constexpr int busyTimeoutMs = 5000;
    const std::string& error() const { return m_error; }

    Status addUser(std::string_view name, std::string_view password, HashStrength strength);
    // Adds many accounts in one transaction; either all are added or none. The passwords are
    // hashed first, so the transaction is short. On failure `failed` is the index of the entry
    // that failed (the size of the list when the transaction could not start or commit).
    Status addUsers(const std::vector<std::pair<std::string, std::string>>& namesAndPasswords,
        HashStrength strength, size_t& failed);
    Status setPassword(std::string_view name, std::string_view password, HashStrength strength);
    Status removeUser(std::string_view name);
    // Names in byte order.
    std::optional<std::vector<std::string>> userNames();
    // Which of `names` still have an account, in byte order; one query per few hundred names.
    std::optional<std::vector<std::string>> existingUsers(const std::vector<std::string>& names);
    // The stored hash of a user (no hashing work): NotFound, Ok with the hash, or Failed.
    Status passwordHash(std::string_view name, std::string& hash);

    // True when the number was handed out before (and then notes that it was seen now).
    bool knowsInstallation(std::int64_t number, std::int64_t now);
    // A fresh installation number (1 and up, never reused), or -1 on failure.
    std::int64_t newInstallation(std::int64_t now);

private:
    bool exec(const char* sql);
    bool fail(const char* what);
    Status checkAndHash(
        std::string_view name, std::string_view password, HashStrength strength, std::string& hash);
    Status writeHash(std::string_view name, std::string_view hash, bool insert);
    Status storeHash(
        std::string_view name, std::string_view password, HashStrength strength, bool insert);

    sqlite3* m_db = nullptr;
    std::string m_error;
};

const char* accountStatusText(AccountStore::Status status);
