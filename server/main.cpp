#include "server/serverlog.h"
#include "server/serveroptions.h"
#include "server/serverruntime.h"
#include "server/usercommand.h"

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Many connections need many descriptors: take all the system allows this process, and say so
// when that is still too few for the connection limit.
void raiseDescriptorLimit(int maxConnections, ServerLog& log)
{
    rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return;
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
        getrlimit(RLIMIT_NOFILE, &limit);
    }
    // A few descriptors go to the database, the listening ports and the event loop.
    const rlim_t needed = static_cast<rlim_t>(maxConnections) + 32;
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed) {
        log.line("warning: only " + std::to_string(limit.rlim_cur)
            + " file descriptors allowed for --max-connections " + std::to_string(maxConnections)
            + " (raise ulimit -n)");
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    ServerOptions options;
    std::string error;
    if (!parseServerOptions(args, options, error)) {
        std::cerr << "pavione-server: " << error << "\n" << serverUsage();
        return 2;
    }
    if (options.help) {
        std::cout << serverUsage();
        return 0;
    }
    if (options.version) {
        std::cout << "pavione-server 0.30\n";
        return 0;
    }
    if (!options.userCommand.empty())
        return runUserCommand(options, std::cin, isatty(STDIN_FILENO) != 0, std::cout, std::cerr);

    std::signal(SIGPIPE, SIG_IGN);
    ServerLog log;
    log.setEnabled(!options.quiet);
    raiseDescriptorLimit(options.maxConnections, log);
    ServerRuntime server(options, log);
    if (!server.start(error)) {
        std::cerr << "pavione-server: " << error << "\n";
        return 1;
    }
    server.run(true);
    log.line("stopped");
    return 0;
}
