#include "server/accountstore.h"

#include "server/username.h"

#include <sqlite3.h>

#include <algorithm>
#include <ctime>
#include <limits>

namespace {

// One prepared statement, finalised on every path.
class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            m_stmt = nullptr;
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return m_stmt != nullptr; }
    void bind(int index, std::string_view text)
    {
        sqlite3_bind_text(
            m_stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    void bind(int index, std::int64_t value) { sqlite3_bind_int64(m_stmt, index, value); }
    int step() { return sqlite3_step(m_stmt); }
    void reset()
    {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
    std::string text(int column) const
    {
        const auto* p = sqlite3_column_text(m_stmt, column);
        return p ? std::string(reinterpret_cast<const char*>(p),
                   static_cast<size_t>(sqlite3_column_bytes(m_stmt, column)))
                 : std::string();
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

constexpr const char* schema = R"(
CREATE TABLE IF NOT EXISTS users (
    name TEXT PRIMARY KEY NOT NULL,
    hash TEXT NOT NULL,
    created INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS installations (
    number INTEGER PRIMARY KEY AUTOINCREMENT,
    created INTEGER NOT NULL,
    seen INTEGER NOT NULL
);
)";

} // namespace

AccountStore::~AccountStore()
{
    sqlite3_close_v2(m_db);
}

bool AccountStore::open(const std::string& path)
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    if (!initPasswordHashing()) {
        m_error = "the password hashing library cannot start";
        return false;
    }
    sqlite3* db = nullptr;
    const int rc
        = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        m_error = "cannot open " + path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        return false;
    }
    m_db = db;
    // Write-ahead logging keeps the file consistent when the process is killed at any moment;
    // the busy timeout lets the administration commands and the server share the file.
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
    if (!exec("PRAGMA journal_mode=WAL") || !exec("PRAGMA synchronous=NORMAL") || !exec(schema)) {
        const std::string why = m_error;
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        m_error = "cannot use " + path + ": " + why;
        return false;
    }
    return true;
}

void AccountStore::setBusyTimeout(int milliseconds)
{
    if (m_db)
        sqlite3_busy_timeout(m_db, milliseconds);
}

bool AccountStore::exec(const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    m_error = message ? message : sqlite3_errmsg(m_db);
    sqlite3_free(message);
    return false;
}

bool AccountStore::fail(const char* what)
{
    m_error = std::string(what) + ": " + (m_db ? sqlite3_errmsg(m_db) : "database not open");
    return false;
}

AccountStore::Status AccountStore::checkAndHash(
    std::string_view name, std::string_view password, HashStrength strength, std::string& hash)
{
    if (!isValidUserName(name))
        return Status::InvalidName;
    if (!isAcceptablePassword(password))
        return Status::InvalidPassword;
    if (!m_db)
        return fail("store"), Status::Failed;
    std::optional<std::string> made = hashPassword(password, strength);
    if (!made) {
        m_error = "password hashing failed (out of memory?)";
        return Status::Failed;
    }
    hash = std::move(*made);
    return Status::Ok;
}

AccountStore::Status AccountStore::writeHash(
    std::string_view name, std::string_view hash, bool insert)
{
    Statement st(m_db,
        insert ? "INSERT INTO users(name, hash, created) VALUES(?1, ?2, ?3)"
               : "UPDATE users SET hash = ?2 WHERE name = ?1");
    if (!st.ok())
        return fail("prepare"), Status::Failed;
    st.bind(1, name);
    st.bind(2, hash);
    st.bind(3, static_cast<std::int64_t>(std::time(nullptr)));
    const int rc = st.step();
    if (insert && rc == SQLITE_CONSTRAINT)
        return Status::Exists;
    if (rc != SQLITE_DONE)
        return fail("write"), Status::Failed;
    if (!insert && sqlite3_changes(m_db) == 0)
        return Status::NotFound;
    return Status::Ok;
}

AccountStore::Status AccountStore::storeHash(
    std::string_view name, std::string_view password, HashStrength strength, bool insert)
{
    std::string hash;
    const Status s = checkAndHash(name, password, strength, hash);
    return s == Status::Ok ? writeHash(name, hash, insert) : s;
}

AccountStore::Status AccountStore::addUser(
    std::string_view name, std::string_view password, HashStrength strength)
{
    return storeHash(name, password, strength, true);
}

AccountStore::Status AccountStore::addUsers(
    const std::vector<std::pair<std::string, std::string>>& namesAndPasswords,
    HashStrength strength, size_t& failed)
{
    failed = 0;
    if (!m_db)
        return fail("store"), Status::Failed;
    // The slow hashing happens before the transaction: the database's write lock is then held
    // only for the inserts, and a running server's writes do not wait behind the hashing.
    std::vector<std::string> hashes(namesAndPasswords.size());
    for (; failed < namesAndPasswords.size(); ++failed) {
        const auto& [name, password] = namesAndPasswords[failed];
        const Status s = checkAndHash(name, password, strength, hashes[failed]);
        if (s != Status::Ok)
            return s;
    }
    if (!exec("BEGIN IMMEDIATE")) {
        failed = namesAndPasswords.size();
        return Status::Failed;
    }
    for (failed = 0; failed < namesAndPasswords.size(); ++failed) {
        const Status s = writeHash(namesAndPasswords[failed].first, hashes[failed], true);
        if (s != Status::Ok) {
            const std::string why = m_error;
            exec("ROLLBACK");
            m_error = why;
            return s;
        }
    }
    return exec("COMMIT") ? Status::Ok : Status::Failed;
}

AccountStore::Status AccountStore::setPassword(
    std::string_view name, std::string_view password, HashStrength strength)
{
    return storeHash(name, password, strength, false);
}

AccountStore::Status AccountStore::removeUser(std::string_view name)
{
    if (!isValidUserName(name))
        return Status::InvalidName;
    if (!m_db)
        return fail("remove"), Status::Failed;
    Statement st(m_db, "DELETE FROM users WHERE name = ?1");
    if (!st.ok())
        return fail("prepare"), Status::Failed;
    st.bind(1, name);
    if (st.step() != SQLITE_DONE)
        return fail("delete"), Status::Failed;
    return sqlite3_changes(m_db) > 0 ? Status::Ok : Status::NotFound;
}

std::optional<std::vector<std::string>> AccountStore::userNames()
{
    if (!m_db)
        return fail("list"), std::nullopt;
    Statement st(m_db, "SELECT name FROM users ORDER BY name");
    if (!st.ok())
        return fail("prepare"), std::nullopt;
    std::vector<std::string> names;
    int rc;
    while ((rc = st.step()) == SQLITE_ROW)
        names.push_back(st.text(0));
    if (rc != SQLITE_DONE)
        return fail("read"), std::nullopt;
    return names;
}

std::optional<std::vector<std::string>> AccountStore::existingUsers(
    const std::vector<std::string>& names)
{
    if (!m_db)
        return fail("read"), std::nullopt;
    // Well below every SQLite build's limit on bound parameters.
    constexpr size_t chunk = 500;
    std::vector<std::string> found;
    for (size_t from = 0; from < names.size(); from += chunk) {
        const size_t count = std::min(chunk, names.size() - from);
        std::string sql = "SELECT name FROM users WHERE name IN (?";
        for (size_t i = 1; i < count; ++i)
            sql += ",?";
        sql += ")";
        Statement st(m_db, sql.c_str());
        if (!st.ok())
            return fail("prepare"), std::nullopt;
        for (size_t i = 0; i < count; ++i)
            st.bind(static_cast<int>(i + 1), std::string_view(names[from + i]));
        int rc;
        while ((rc = st.step()) == SQLITE_ROW)
            found.push_back(st.text(0));
        if (rc != SQLITE_DONE)
            return fail("read"), std::nullopt;
    }
    std::sort(found.begin(), found.end());
    return found;
}

AccountStore::Status AccountStore::passwordHash(std::string_view name, std::string& hash)
{
    if (!isValidUserName(name))
        return Status::NotFound;
    if (!m_db)
        return fail("read"), Status::Failed;
    Statement st(m_db, "SELECT hash FROM users WHERE name = ?1");
    if (!st.ok())
        return fail("prepare"), Status::Failed;
    st.bind(1, name);
    const int rc = st.step();
    if (rc == SQLITE_ROW) {
        hash = st.text(0);
        return Status::Ok;
    }
    if (rc == SQLITE_DONE)
        return Status::NotFound;
    return fail("read"), Status::Failed;
}

bool AccountStore::knowsInstallation(std::int64_t number, std::int64_t now)
{
    if (number <= 0 || !m_db)
        return false;
    Statement st(m_db, "UPDATE installations SET seen = ?2 WHERE number = ?1");
    if (!st.ok())
        return fail("prepare");
    st.bind(1, number);
    st.bind(2, now);
    if (st.step() != SQLITE_DONE)
        return fail("write");
    return sqlite3_changes(m_db) > 0;
}

std::int64_t AccountStore::newInstallation(std::int64_t now)
{
    if (!m_db)
        return fail("write"), -1;
    Statement st(m_db, "INSERT INTO installations(created, seen) VALUES(?1, ?1)");
    if (!st.ok())
        return fail("prepare"), -1;
    st.bind(1, now);
    if (st.step() != SQLITE_DONE)
        return fail("write"), -1;
    const std::int64_t number = sqlite3_last_insert_rowid(m_db);
    // The desktop program keeps the number in a 32-bit setting.
    if (number > std::numeric_limits<std::int32_t>::max()) {
        m_error = "installation numbers are exhausted";
        return -1;
    }
    return number;
}

const char* accountStatusText(AccountStore::Status status)
{
    switch (status) {
    case AccountStore::Status::Ok:
        return "ok";
    case AccountStore::Status::Exists:
        return "the user already exists";
    case AccountStore::Status::NotFound:
        return "no such user";
    case AccountStore::Status::InvalidName:
        return "a user name is 1 to 16 letters, digits, '_' or '-'";
    case AccountStore::Status::InvalidPassword:
        return "a password is 1 to 1024 bytes on one line";
    case AccountStore::Status::Failed:
        return "database error";
    }
    return "?";
}
