#include "server/usercommand.h"

#include "server/accountstore.h"

#include <termios.h>
#include <unistd.h>

#include <iostream>
#include <optional>
#include <string>

namespace {

// Switches the terminal's echo off for as long as it lives.
class EchoOff {
public:
    EchoOff()
    {
        if (tcgetattr(STDIN_FILENO, &m_saved) != 0)
            return;
        termios quiet = m_saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        m_active = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff()
    {
        if (m_active)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios m_saved {};
    bool m_active = false;
};

std::optional<std::string> readLine(std::istream& in)
{
    std::string line;
    if (!std::getline(in, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::optional<std::string> readPassword(std::istream& in, bool terminal, std::ostream& err)
{
    if (!terminal)
        return readLine(in);
    std::optional<std::string> first, second;
    {
        EchoOff echoOff;
        err << "Password: " << std::flush;
        first = readLine(in);
        err << "\nPassword again: " << std::flush;
        if (first)
            second = readLine(in);
        err << "\n";
    }
    if (first && second && *first != *second) {
        err << "pavione-server: the two passwords differ\n";
        return std::nullopt;
    }
    return second;
}

int report(
    AccountStore::Status status, const std::string& label, AccountStore& store, std::ostream& err)
{
    if (status == AccountStore::Status::Ok)
        return 0;
    err << "pavione-server: " << label << ": " << accountStatusText(status);
    if (status == AccountStore::Status::Failed)
        err << " (" << store.error() << ")";
    err << "\n";
    return 1;
}

} // namespace

int runUserCommand(const ServerOptions& options, std::istream& in, bool inIsTerminal,
    std::ostream& out, std::ostream& err)
{
    const std::vector<std::string>& words = options.userCommand;
    const std::string sub = words.size() > 1 ? words[1] : std::string();
    const bool needsName = sub == "add" || sub == "passwd" || sub == "del";
    const bool bare = sub == "list" || sub == "import";
    if ((!needsName && !bare) || words.size() != (needsName ? 3u : 2u)) {
        err << serverUsage();
        return 2;
    }
    AccountStore store;
    if (!store.open(options.databasePath)) {
        err << "pavione-server: " << store.error() << "\n";
        return 1;
    }
    const HashStrength strength = options.cheapHash ? HashStrength::Cheap : HashStrength::Standard;

    if (sub == "list") {
        const auto names = store.userNames();
        if (!names) {
            err << "pavione-server: " << store.error() << "\n";
            return 1;
        }
        for (const std::string& name : *names)
            out << name << "\n";
        return 0;
    }
    if (sub == "import") {
        // One "NAME PASSWORD" per line; the password is the rest of the line after one space.
        std::vector<std::pair<std::string, std::string>> accounts;
        int lineNumber = 0;
        while (const auto line = readLine(in)) {
            ++lineNumber;
            if (line->empty())
                continue;
            const size_t space = line->find(' ');
            if (space == std::string::npos) {
                err << "pavione-server: line " << lineNumber << ": expected NAME PASSWORD\n";
                return 1;
            }
            accounts.emplace_back(line->substr(0, space), line->substr(space + 1));
        }
        size_t failed = 0;
        const AccountStore::Status status = store.addUsers(accounts, strength, failed);
        if (status != AccountStore::Status::Ok) {
            const std::string label = failed < accounts.size()
                ? "import: nothing added: " + accounts[failed].first
                : std::string("import: nothing added");
            return report(status, label, store, err);
        }
        out << "added " << accounts.size() << " users\n";
        return 0;
    }

    const std::string& name = words[2];
    if (sub == "del")
        return report(store.removeUser(name), name, store, err);
    const std::optional<std::string> password = readPassword(in, inIsTerminal, err);
    if (!password) {
        err << "pavione-server: no password given\n";
        return 1;
    }
    return report(sub == "add" ? store.addUser(name, *password, strength)
                               : store.setPassword(name, *password, strength),
        name, store, err);
}
