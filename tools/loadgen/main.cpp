// pavione-loadgen: load for the sharing server, measured from the clients' side. See usage().
#include "attacks.h"
#include "clientpool.h"
#include "loadargs.h"
#include "procstat.h"

#include "server/accountstore.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

const char* usage()
{
    return "usage: pavione-loadgen provision --db FILE --users N [--prefix P]\n"
           "       pavione-loadgen broadcast --port N --clients N --rate PER_SECOND --seconds S\n"
           "       pavione-loadgen idle --port N --clients N\n"
           "       pavione-loadgen burst --port N --clients N\n"
           "       pavione-loadgen attack --kind slots|memory|logins|guess|flood --port N\n"
           "                      --presence-port N [--seconds S] [--victim NAME]\n"
           "common: --host H (127.0.0.1), --prefix P (user names P0, P1, ...; default u),\n"
           "        --sources N (spread the clients over N loopback addresses 127.1.x.y),\n"
           "        --server-pid PID (report that process's memory and CPU time)\n"
           "Accounts are named PREFIX and a number, with the password \"pw-\" and the name.\n";
}

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

std::int64_t nowNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

void reportMemory(long pid)
{
    if (pid <= 0)
        return;
    std::printf("server memory: resident %.1f MB, peak resident %.1f MB\n",
        procStatusKb(pid, "VmRSS") / 1024.0, procStatusKb(pid, "VmHWM") / 1024.0);
}

void addSources(ClientPool& pool, const Args& args)
{
    for (long k = 0; k < args.number("sources", 0); ++k)
        pool.sources.push_back(ClientPool::loopbackSource(1, static_cast<size_t>(k)));
}

void raiseDescriptorLimit()
{
    rlimit limit {};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

int provision(const Args& args)
{
    AccountStore store;
    if (!store.open(args.get("db", "pavione-server.db"))) {
        std::fprintf(stderr, "pavione-loadgen: %s\n", store.error().c_str());
        return 1;
    }
    const std::string prefix = args.get("prefix", "u");
    std::vector<std::pair<std::string, std::string>> accounts;
    for (long i = 0; i < args.number("users", 1000); ++i) {
        const std::string name = ClientPool::userName(prefix, static_cast<size_t>(i));
        accounts.emplace_back(name, "pw-" + name);
    }
    size_t failed = 0;
    const auto status = store.addUsers(accounts, HashStrength::Cheap, failed);
    if (status != AccountStore::Status::Ok) {
        std::fprintf(stderr, "pavione-loadgen: %s: %s\n",
            failed < accounts.size() ? accounts[failed].first.c_str() : "",
            accountStatusText(status));
        return 1;
    }
    std::printf("provisioned %zu accounts\n", accounts.size());
    return 0;
}

// Connects and logs in the clients a batch at a time, reading everything meanwhile.
bool connectAndLogin(ClientPool& pool, const Args& args, size_t clients, size_t batch)
{
    const std::string prefix = args.get("prefix", "u");
    std::string error;
    for (size_t first = 0; first < clients; first += batch) {
        const size_t last = std::min(clients, first + batch);
        if (!pool.connect(last - first, error)) {
            std::fprintf(stderr, "pavione-loadgen: %s\n", error.c_str());
            return false;
        }
        pool.login(first, last, prefix);
        if (!pool.runUntil([&] { return pool.loggedInCount() >= last; }, 120s)) {
            std::fprintf(stderr, "pavione-loadgen: only %zu of %zu logged in (%zu closed)\n",
                pool.loggedInCount(), last, pool.closedCount());
            return false;
        }
    }
    return true;
}

int broadcast(const Args& args)
{
    const size_t clients = static_cast<size_t>(args.number("clients", 1000));
    const double rate = static_cast<double>(args.number("rate", 100));
    const auto duration = std::chrono::seconds(args.number("seconds", 20));
    const auto warmup = std::chrono::seconds(args.number("warmup", 3));
    const long pid = args.number("server-pid", 0);
    ClientPool pool(
        args.get("host", "127.0.0.1"), static_cast<std::uint16_t>(args.number("port", 9292)));
    addSources(pool, args);

    std::vector<std::uint32_t> latencies; // microseconds, deliveries inside the window
    latencies.reserve(static_cast<size_t>(
        rate * static_cast<double>(clients) * static_cast<double>(duration.count()) * 1.1));
    bool measuring = false;
    size_t delivered = 0; // every BCAST received, window or not
    pool.onMessage = [&](size_t, const StringList& message) {
        if (message.item(0) != "BCAST")
            return;
        ++delivered;
        if (!measuring)
            return;
        const std::string_view text = message.item(2).view();
        std::int64_t sentAt = 0;
        std::from_chars(text.data(), text.data() + text.size(), sentAt);
        const std::int64_t micros = (nowNanoseconds() - sentAt) / 1000;
        latencies.push_back(static_cast<std::uint32_t>(std::max<std::int64_t>(0, micros)));
    };
    if (!connectAndLogin(pool, args, clients, 200))
        return 1;
    // Let the arrivals settle before the clock starts.
    pool.runUntil([] { return false; }, 1s);
    std::printf("%zu clients logged in\n", clients);

    const auto period
        = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / rate));
    size_t sent = 0, sentInWindow = 0, sender = 0;
    auto nextSend = Clock::now();
    const auto windowStart = Clock::now() + warmup;
    const auto windowEnd = windowStart + duration;
    size_t deliveredAtStart = 0;
    double cpuAtStart = 0;
    const auto sendDue = [&] {
        const auto now = Clock::now();
        if (!measuring && now >= windowStart && now < windowEnd) {
            measuring = true;
            deliveredAtStart = delivered;
            cpuAtStart = pid > 0 ? procCpuSeconds(pid) : 0;
        }
        if (measuring && now >= windowEnd)
            measuring = false;
        while (nextSend <= now && now < windowEnd) {
            pool.send(sender, StringList({ "BCAST", std::to_string(nowNanoseconds()) }));
            sender = (sender + 1) % clients;
            ++sent;
            if (measuring)
                ++sentInWindow;
            nextSend += period;
        }
    };
    pool.runUntil([&] { return Clock::now() >= windowEnd; }, warmup + duration + 5s, sendDue);
    const size_t deliveredInWindow = delivered - deliveredAtStart;
    const double cpu = pid > 0 ? procCpuSeconds(pid) - cpuAtStart : 0;
    // Let the last deliveries arrive before counting losses.
    const size_t expected = sent * (clients - 1);
    pool.runUntil([&] { return delivered >= expected; }, 10s);

    std::sort(latencies.begin(), latencies.end());
    const auto percentile = [&](double p) {
        return latencies.empty()
            ? 0.0
            : latencies[std::min(latencies.size() - 1,
                  static_cast<size_t>(p * static_cast<double>(latencies.size())))]
                / 1000.0;
    };
    std::printf("broadcast: %zu clients, %.0f messages/s, window %.0f s\n", clients, rate,
        seconds(duration));
    std::printf("  sent %zu messages (%zu in the window), delivered %zu of %zu expected\n", sent,
        sentInWindow, delivered, expected);
    std::printf("  deliveries per second in the window: %.0f\n",
        static_cast<double>(deliveredInWindow) / seconds(duration));
    std::printf("  delivery latency: p50 %.2f ms, p99 %.2f ms, p99.9 %.2f ms, max %.2f ms\n",
        percentile(0.50), percentile(0.99), percentile(0.999),
        latencies.empty() ? 0.0 : latencies.back() / 1000.0);
    std::printf("  clients dropped: %zu\n", pool.closedCount());
    if (pid > 0)
        std::printf("  server CPU: %.0f %% of one core\n", 100.0 * cpu / seconds(duration));
    reportMemory(pid);
    return 0;
}

int idle(const Args& args)
{
    const size_t clients = static_cast<size_t>(args.number("clients", 10000));
    const long pid = args.number("server-pid", 0);
    ClientPool pool(
        args.get("host", "127.0.0.1"), static_cast<std::uint16_t>(args.number("port", 9292)));
    addSources(pool, args);
    size_t arrivals = 0;
    pool.onMessage = [&](size_t, const StringList& message) {
        if (message.item(0) == "LOGIN")
            ++arrivals;
    };
    const auto start = Clock::now();
    if (!connectAndLogin(pool, args, clients, static_cast<size_t>(args.number("batch", 500))))
        return 1;
    // Everyone hears of everyone who came later: n(n-1)/2 arrivals in all.
    const size_t expected = clients * (clients - 1) / 2;
    pool.runUntil([&] { return arrivals >= expected; }, 600s);
    std::printf("idle: %zu clients logged in and settled in %.1f s (%zu of %zu arrivals heard)\n",
        clients, seconds(Clock::now() - start), arrivals, expected);
    // Idle for a while, then measure.
    pool.runUntil([] { return false; }, std::chrono::seconds(args.number("hold", 5)));
    std::printf("  clients dropped: %zu\n", pool.closedCount());
    reportMemory(pid);
    return 0;
}

int burst(const Args& args)
{
    const size_t clients = static_cast<size_t>(args.number("clients", 1000));
    const long pid = args.number("server-pid", 0);
    ClientPool pool(
        args.get("host", "127.0.0.1"), static_cast<std::uint16_t>(args.number("port", 9292)));
    addSources(pool, args);
    size_t arrivals = 0;
    pool.onMessage = [&](size_t, const StringList& message) {
        if (message.item(0) == "LOGIN")
            ++arrivals;
    };
    std::string error;
    if (!pool.connect(clients, error)) {
        std::fprintf(stderr, "pavione-loadgen: %s\n", error.c_str());
        return 1;
    }
    const auto start = Clock::now();
    pool.login(0, clients, args.get("prefix", "u"));
    const bool all = pool.runUntil([&] { return pool.loggedInCount() >= clients; }, 300s);
    const auto loggedIn = Clock::now();
    const size_t expected = clients * (clients - 1) / 2;
    pool.runUntil([&] { return arrivals >= expected; }, 300s);
    const auto settled = Clock::now();
    std::printf("burst: %zu logins sent at once; %s %zu logged in after %.3f s\n", clients,
        all ? "all" : "only", pool.loggedInCount(), seconds(loggedIn - start));
    std::printf("  every arrival announced to everyone after %.3f s (%zu of %zu)\n",
        seconds(settled - start), arrivals, expected);
    std::printf("  clients dropped: %zu\n", pool.closedCount());
    reportMemory(pid);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(usage(), stderr);
        return 2;
    }
    Args args;
    args.mode = argv[1];
    for (int i = 2; i + 1 < argc; i += 2) {
        std::string key = argv[i];
        if (key.rfind("--", 0) != 0) {
            std::fputs(usage(), stderr);
            return 2;
        }
        args.values[key.substr(2)] = argv[i + 1];
    }
    raiseDescriptorLimit();
    if (args.mode == "provision")
        return provision(args);
    if (args.mode == "broadcast")
        return broadcast(args);
    if (args.mode == "idle")
        return idle(args);
    if (args.mode == "burst")
        return burst(args);
    if (args.mode == "attack")
        return attack(args);
    std::fputs(usage(), stderr);
    return 2;
}
