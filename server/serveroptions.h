#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The command line of pavione-server: either run the server, or run an account command
// ("user add NAME" and so on, kept in userCommand).
struct ServerOptions {
    std::string listenAddress; // empty: every address
    std::uint16_t port = 9292; // 0 picks a free port (tests)
    std::uint16_t presencePort = 9293;
    std::string databasePath = "pavione-server.db";
    int latestVersion = 30;
    int maxUsers = 0; // 0: no limit
    int maxConnections = 10000;
    int maxConnectionsPerAddress = 32; // 0: no limit
    int maxBufferedMb = 512; // input and output buffered for all connections; 0: no limit
    int maxMessageMb = 32; // one message's bytes, each line with its bookkeeping
    int maxLoginChecks = 16; // password checks in flight; 0: no limit
    int maxLoginChecksPerAddress = 4;
    int presenceTimeoutSeconds = 1200;
    int loginTimeoutSeconds = 30;
    int maxMessageRate = 10; // broadcasts and private messages per user and second; 0: no limit
    std::vector<std::string> denied; // CIDR ranges whose logins are refused
    bool cheapHash = false; // account commands: hash with the cheap test strength
    bool quiet = false; // no log lines
    bool help = false;
    bool version = false;
    std::vector<std::string> userCommand; // "user" and the words after it; empty: run the server
};

// Fills options from the arguments after the program name. Returns false with a message for
// the user when an option is unknown, lacks its value or has a value out of range.
bool parseServerOptions(
    std::span<const std::string> args, ServerOptions& options, std::string& error);

const char* serverUsage();
