#include "server/addressfilter.h"
#include "server/serveroptions.h"

#include <gtest/gtest.h>

namespace {

bool parse(std::vector<std::string> args, ServerOptions& options, std::string& error)
{
    return parseServerOptions(args, options, error);
}

TEST(ServerOptionsTest, DefaultsAndEveryOption)
{
    ServerOptions defaults;
    std::string error;
    ASSERT_TRUE(parse({}, defaults, error));
    EXPECT_EQ(defaults.port, 9292);
    EXPECT_EQ(defaults.presencePort, 9293);
    EXPECT_EQ(defaults.databasePath, "pavione-server.db");
    EXPECT_EQ(defaults.latestVersion, 30);
    EXPECT_EQ(defaults.maxConnections, 10000);
    EXPECT_EQ(defaults.loginTimeoutSeconds, 30);
    EXPECT_EQ(defaults.maxUsers, 0);
    EXPECT_EQ(defaults.maxMessageRate, 10);
    EXPECT_EQ(defaults.maxConnectionsPerAddress, 32);
    EXPECT_EQ(defaults.maxBufferedMb, 512);
    EXPECT_EQ(defaults.maxMessageMb, 32);
    EXPECT_EQ(defaults.maxLoginChecks, 16);
    EXPECT_EQ(defaults.maxLoginChecksPerAddress, 4);
    EXPECT_EQ(defaults.presenceTimeoutSeconds, 1200);
    EXPECT_TRUE(defaults.listenAddress.empty());

    ServerOptions o;
    ASSERT_TRUE(parse(
        { "--listen", "127.0.0.1", "--port=1000", "--presence-port", "1001", "--db", "x.db",
            "--latest-version", "31", "--max-users", "5", "--max-connections=7", "--login-timeout",
            "9", "--max-message-rate", "0", "--deny", "10.0.0.0/8", "--deny=::1", "--quiet",
            "--max-connections-per-address", "0", "--max-buffered-mb=64", "--max-login-checks", "3",
            "--max-login-checks-per-address", "1", "--presence-timeout", "60", "--max-message-mb",
            "2" },
        o, error))
        << error;
    EXPECT_EQ(o.listenAddress, "127.0.0.1");
    EXPECT_EQ(o.port, 1000);
    EXPECT_EQ(o.presencePort, 1001);
    EXPECT_EQ(o.databasePath, "x.db");
    EXPECT_EQ(o.latestVersion, 31);
    EXPECT_EQ(o.maxUsers, 5);
    EXPECT_EQ(o.maxConnections, 7);
    EXPECT_EQ(o.loginTimeoutSeconds, 9);
    EXPECT_EQ(o.maxMessageRate, 0);
    EXPECT_EQ(o.denied, (std::vector<std::string> { "10.0.0.0/8", "::1" }));
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(o.maxConnectionsPerAddress, 0);
    EXPECT_EQ(o.maxBufferedMb, 64);
    EXPECT_EQ(o.maxMessageMb, 2);
    EXPECT_EQ(o.maxLoginChecks, 3);
    EXPECT_EQ(o.maxLoginChecksPerAddress, 1);
    EXPECT_EQ(o.presenceTimeoutSeconds, 60);
    EXPECT_TRUE(o.userCommand.empty());
}

TEST(ServerOptionsTest, AccountCommandsTakeOptionsAroundTheirWords)
{
    ServerOptions o;
    std::string error;
    ASSERT_TRUE(parse({ "--db", "a.db", "user", "add", "alice", "--cheap-hash" }, o, error));
    EXPECT_EQ(o.userCommand, (std::vector<std::string> { "user", "add", "alice" }));
    EXPECT_TRUE(o.cheapHash);
    EXPECT_EQ(o.databasePath, "a.db");
}

TEST(ServerOptionsTest, BadCommandLinesAreRefused)
{
    const std::vector<std::vector<std::string>> bad {
        { "--port" },
        { "--port", "65536" },
        { "--port", "12x" },
        { "--port", "-1" },
        { "--max-connections", "0" },
        { "--login-timeout", "0" },
        { "--max-message-rate", "100001" },
        { "--latest-version", "" },
        { "--db=" },
        { "--frobnicate" },
        { "serve" },
        { "--quiet=yes" },
    };
    for (const auto& args : bad) {
        ServerOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(AddressFilterTest, RangesInBothFamilies)
{
    AddressFilter filter;
    ASSERT_TRUE(filter.add("192.0.2.0/24"));
    ASSERT_TRUE(filter.add("198.51.100.7"));
    ASSERT_TRUE(filter.add("2001:db8::/33"));
    ASSERT_TRUE(filter.add("10.0.0.0/0x") == false);
    struct Case {
        const char* address;
        bool denied;
    };
    const Case cases[] = {
        { "192.0.2.0", true },
        { "192.0.2.255", true },
        { "192.0.3.0", false },
        { "::ffff:192.0.2.9", true }, // as a dual-stack socket reports it
        { "198.51.100.7", true },
        { "198.51.100.8", false },
        { "2001:db8:7fff::1", true },
        { "2001:db8:8000::1", false },
        { "::1", false },
        { "not an address", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(filter.matches(c.address), c.denied) << c.address;
}

TEST(AddressFilterTest, BadRangesAreRefused)
{
    AddressFilter filter;
    for (const char* bad :
        { "", "1.2.3.4/33", "::/129", "1.2.3.4/", "1.2.3/8", "x/8", "1.2.3.4/-1" })
        EXPECT_FALSE(filter.add(bad)) << bad;
    EXPECT_TRUE(filter.empty());
    ASSERT_TRUE(filter.add("0.0.0.0/0"));
    EXPECT_TRUE(filter.matches("203.0.113.1"));
    EXPECT_FALSE(filter.matches("2001:db8::1"));
}

TEST(AddressFilterTest, NetworksAreSlash24AndSlash64)
{
    const std::pair<const char*, const char*> cases[] = {
        { "192.0.2.77", "192.0.2.0/24" },
        { "::ffff:192.0.2.9", "192.0.2.0/24" },
        { "127.0.0.1", "127.0.0.0/24" },
        { "2001:db8:1:2:3:4:5:6", "2001:db8:1:2::/64" },
        { "::1", "::/64" },
        { "junk", "junk" },
    };
    for (const auto& [address, network] : cases)
        EXPECT_EQ(networkOf(address), network) << address;
}

} // namespace
