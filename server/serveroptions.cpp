#include "server/serveroptions.h"

#include <charconv>
#include <limits>

namespace {

bool parseNumber(const std::string& text, long long low, long long high, long long& value)
{
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && value >= low && value <= high;
}

} // namespace

bool parseServerOptions(
    std::span<const std::string> args, ServerOptions& options, std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg.rfind("--", 0) != 0) {
            // Options may come before and after the words of an account command.
            if (options.userCommand.empty() && arg != "user") {
                error = "unexpected argument '" + arg + "'";
                return false;
            }
            options.userCommand.push_back(arg);
            continue;
        }
        std::string value;
        bool hasValue = false;
        if (const size_t eq = arg.find('='); eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            hasValue = true;
        }
        if (arg == "--help" || arg == "--version" || arg == "--cheap-hash" || arg == "--quiet") {
            if (hasValue) {
                error = "option " + arg + " takes no value";
                return false;
            }
            if (arg == "--help")
                options.help = true;
            else if (arg == "--version")
                options.version = true;
            else if (arg == "--cheap-hash")
                options.cheapHash = true;
            else
                options.quiet = true;
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                error = "option " + arg + " needs a value";
                return false;
            }
            value = args[++i];
        }
        long long n = 0;
        const auto number = [&](long long low, long long high) {
            if (parseNumber(value, low, high, n))
                return true;
            error = "option " + arg + ": '" + value + "' is not a number from "
                + std::to_string(low) + " to " + std::to_string(high);
            return false;
        };
        constexpr long long intMax = std::numeric_limits<int>::max();
        if (arg == "--listen") {
            options.listenAddress = value;
        } else if (arg == "--port" || arg == "--presence-port") {
            if (!number(0, 65535))
                return false;
            (arg == "--port" ? options.port : options.presencePort) = static_cast<std::uint16_t>(n);
        } else if (arg == "--db") {
            if (value.empty()) {
                error = "option --db needs a file name";
                return false;
            }
            options.databasePath = value;
        } else if (arg == "--latest-version") {
            if (!number(0, intMax))
                return false;
            options.latestVersion = static_cast<int>(n);
        } else if (arg == "--max-users") {
            if (!number(0, intMax))
                return false;
            options.maxUsers = static_cast<int>(n);
        } else if (arg == "--max-connections") {
            if (!number(1, intMax))
                return false;
            options.maxConnections = static_cast<int>(n);
        } else if (arg == "--max-connections-per-address") {
            if (!number(0, intMax))
                return false;
            options.maxConnectionsPerAddress = static_cast<int>(n);
        } else if (arg == "--max-buffered-mb") {
            if (!number(0, 1024 * 1024))
                return false;
            options.maxBufferedMb = static_cast<int>(n);
        } else if (arg == "--max-message-mb") {
            if (!number(1, 1024))
                return false;
            options.maxMessageMb = static_cast<int>(n);
        } else if (arg == "--max-login-checks" || arg == "--max-login-checks-per-address") {
            if (!number(0, intMax))
                return false;
            (arg == "--max-login-checks" ? options.maxLoginChecks
                                         : options.maxLoginChecksPerAddress)
                = static_cast<int>(n);
        } else if (arg == "--presence-timeout") {
            if (!number(1, 7 * 86400))
                return false;
            options.presenceTimeoutSeconds = static_cast<int>(n);
        } else if (arg == "--login-timeout") {
            if (!number(1, 86400))
                return false;
            options.loginTimeoutSeconds = static_cast<int>(n);
        } else if (arg == "--max-message-rate") {
            if (!number(0, 100000))
                return false;
            options.maxMessageRate = static_cast<int>(n);
        } else if (arg == "--deny") {
            options.denied.push_back(value);
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

const char* serverUsage()
{
    return "usage: pavione-server [OPTIONS]\n"
           "       pavione-server [--db FILE] user add|passwd NAME [--cheap-hash]\n"
           "       pavione-server [--db FILE] user del NAME\n"
           "       pavione-server [--db FILE] user list\n"
           "       pavione-server [--db FILE] user import [--cheap-hash]\n"
           "\n"
           "options:\n"
           "  --listen ADDR           address to listen on (default: every address)\n"
           "  --port N                main port, logins and version checks (default 9292)\n"
           "  --presence-port N       presence port (default 9293)\n"
           "  --db FILE               account database (default pavione-server.db)\n"
           "  --latest-version N      program version offered to clients (default 30)\n"
           "  --max-users N           logged-in users at most (default: no limit)\n"
           "  --max-connections N     open connections at most (default 10000)\n"
           "  --max-connections-per-address N\n"
           "                          open connections from one address, both ports\n"
           "                          (default 32; 0: no limit)\n"
           "  --max-buffered-mb N     input and output the server buffers for all\n"
           "                          connections; beyond it the heaviest are dropped\n"
           "                          (default 512; 0: no limit)\n"
           "  --max-message-mb N      longest message, such as a shared-folder listing;\n"
           "                          a sender of a longer one is dropped (default 32)\n"
           "  --max-login-checks N    password checks at once; more logins are refused\n"
           "                          with LOGINNG 7 (default 16; 0: no limit)\n"
           "  --max-login-checks-per-address N\n"
           "                          the same from one address (default 4; 0: no limit)\n"
           "  --presence-timeout SECONDS\n"
           "                          presence connections silent this long are closed\n"
           "                          (default 1200)\n"
           "  --login-timeout SECONDS time allowed for logging in (default 30)\n"
           "  --max-message-rate N    broadcasts and private messages per user and second,\n"
           "                          bursts of twice that (default 10; 0: no limit)\n"
           "  --deny CIDR             refuse logins and presence from this range\n"
           "                          (repeatable)\n"
           "  --quiet                 no log lines on stderr\n"
           "  --cheap-hash            account commands: fast weak hashes, for test accounts only\n"
           "\n"
           "user add and user passwd read the password from standard input (not echoed on a\n"
           "terminal); user import reads lines \"NAME PASSWORD\" and adds them in one go.\n";
}
