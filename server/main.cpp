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

// Many connections need many descriptors: take all the system allows this process.
void raiseDescriptorLimit()
{
    rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
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
    raiseDescriptorLimit();
    ServerLog log;
    log.setEnabled(!options.quiet);
    ServerRuntime server(options, log);
    if (!server.start(error)) {
        std::cerr << "pavione-server: " << error << "\n";
        return 1;
    }
    server.run(true);
    log.line("stopped");
    return 0;
}
