#include "attacks.h"

#include "clientpool.h"
#include "procstat.h"

#include "net/framing.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// A plain non-blocking socket from a chosen loopback address; -1 when the connect fails.
int rawConnect(const std::string& source, std::uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in local {};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, source.c_str(), &local.sin_addr);
    sockaddr_in remote {};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(port);
    inet_pton(AF_INET, "127.0.0.1", &remote.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0
        || ::connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
        ::close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

// Writes what the socket takes within `patience`; returns the bytes written.
size_t writeSome(int fd, std::string_view bytes, std::chrono::milliseconds patience = 0ms)
{
    const auto deadline = Clock::now() + patience;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && Clock::now() < deadline) {
            pollfd p { fd, POLLOUT, 0 };
            ::poll(&p, 1, 10);
            continue;
        }
        break;
    }
    return done;
}

// Reads and discards what is there; false once the server has closed the socket.
bool drain(int fd, std::string* keep = nullptr)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            if (keep)
                keep->append(buffer, static_cast<size_t>(n));
            continue;
        }
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

size_t countOpen(std::vector<int>& fds)
{
    size_t open = 0;
    for (int& fd : fds) {
        if (fd >= 0 && !drain(fd)) {
            ::close(fd);
            fd = -1;
        }
        open += fd >= 0;
    }
    return open;
}

void closeAll(std::vector<int>& fds)
{
    for (int fd : fds) {
        if (fd >= 0)
            ::close(fd);
    }
    fds.clear();
}

struct Percentiles {
    std::vector<double> values; // sorted before at() and max() are asked
    double max() const { return values.empty() ? 0.0 : values.back(); }
    double at(double p)
    {
        if (values.empty())
            return 0;
        return values[std::min(values.size() - 1, static_cast<size_t>(p * values.size()))];
    }
};

// The well-behaved user: logged in before the attack, asking for its own profile every 20 ms.
void probe(const Args& args, std::atomic<bool>& stop, Percentiles& rounds, size_t& unanswered)
{
    ClientPool pool("127.0.0.1", static_cast<std::uint16_t>(args.number("port", 9292)));
    pool.sources = { "127.2.0.1" };
    const std::string name = ClientPool::userName(args.get("prefix", "u"), 0);
    std::string error;
    if (!pool.connect(1, error)) {
        std::fprintf(stderr, "probe: %s\n", error.c_str());
        return;
    }
    pool.login(0, 1, args.get("prefix", "u"));
    pool.runUntil([&] { return pool.loggedInCount() == 1; }, 30s);
    Clock::time_point asked {};
    bool waiting = false;
    pool.onMessage = [&](size_t, const StringList& m) {
        if (m.item(0) == "PROFILE" && waiting) {
            rounds.values.push_back(ms(Clock::now() - asked));
            waiting = false;
        }
    };
    auto next = Clock::now();
    pool.runUntil([&] { return stop.load(); }, 3600s,
        [&] {
            const auto now = Clock::now();
            if (waiting && now - asked > 5s) {
                ++unanswered;
                waiting = false;
            }
            if (!waiting && now >= next) {
                asked = now;
                waiting = true;
                next = now + 20ms;
                pool.send(0, StringList({ "PROFILE", name }));
            }
        });
    if (pool.closedCount())
        std::fprintf(stderr, "probe: the well-behaved user was disconnected\n");
}

// Newcomers: every half second a fresh connection from another address logs in.
void newcomers(const Args& args, std::atomic<bool>& stop, Percentiles& logins, size_t& failed)
{
    const std::string prefix = args.get("prefix", "u");
    while (!stop) {
        ClientPool pool("127.0.0.1", static_cast<std::uint16_t>(args.number("port", 9292)));
        pool.sources = { "127.2.0.2" };
        std::string error;
        const auto start = Clock::now();
        if (pool.connect(1, error)) {
            const std::string name = ClientPool::userName(prefix, 1);
            pool.send(0, StringList({ "LOGIN", name, "pw-" + name, "0" }));
            if (pool.runUntil([&] { return pool.loggedInCount() == 1 || pool.closedCount(); }, 30s)
                && pool.loggedInCount() == 1)
                logins.values.push_back(ms(Clock::now() - start));
            else
                ++failed;
        } else {
            ++failed;
        }
        std::this_thread::sleep_for(500ms);
    }
}

std::string framed(std::initializer_list<std::string_view> items)
{
    return frameMessage(StringList(items));
}

} // namespace

int attack(const Args& args)
{
    const std::string kind = args.get("kind", "");
    const auto port = static_cast<std::uint16_t>(args.number("port", 9292));
    const auto presencePort = static_cast<std::uint16_t>(args.number("presence-port", 9293));
    const auto duration = std::chrono::seconds(args.number("seconds", 10));
    const long pid = args.number("server-pid", 0);
    const std::string victim = args.get("victim", "victim");
    const std::string prefix = args.get("prefix", "u");

    std::atomic<bool> stop { false };
    Percentiles rounds, logins;
    size_t unanswered = 0, failedLogins = 0;
    std::thread prober([&] { probe(args, stop, rounds, unanswered); });
    std::this_thread::sleep_for(500ms); // the user is logged in before the attack begins
    std::thread arrivals([&] { newcomers(args, stop, logins, failedLogins); });

    const auto start = Clock::now();
    const auto end = start + duration;
    std::vector<int> fds;
    std::string result;
    if (kind == "slots") {
        // Presence connections from one address, each with a LOGIN, kept open; more and more.
        const std::string login = framed({ "LOGIN", "12345" });
        size_t tried = 0;
        while (Clock::now() < end) {
            for (int i = 0; i < 500 && tried < 10000; ++i, ++tried) {
                const int fd = rawConnect("127.0.0.1", presencePort);
                if (fd >= 0)
                    writeSome(fd, login);
                fds.push_back(fd);
            }
            countOpen(fds);
            std::this_thread::sleep_for(100ms);
        }
        result = "presence connections tried " + std::to_string(tried) + ", held open "
            + std::to_string(countOpen(fds));
    } else if (kind == "memory") {
        // 100 presence connections (from 100 addresses), each 1 MiB of one-byte lines (or
        // --lines of them), held open.
        const long lines = args.number("lines", 512 * 1024);
        std::string tiny = "+LOGIN\n";
        for (long i = 0; i < lines; ++i)
            tiny += "+\n";
        size_t sent = 0;
        for (size_t k = 0; k < 100; ++k) {
            const int fd = rawConnect(ClientPool::loopbackSource(3, k), presencePort);
            if (fd >= 0)
                sent += writeSome(fd, tiny, 2s);
            fds.push_back(fd);
        }
        while (Clock::now() < end) {
            countOpen(fds);
            std::this_thread::sleep_for(100ms);
        }
        result = "sent " + std::to_string(sent / 1024) + " KiB on 100 connections, held open "
            + std::to_string(countOpen(fds));
    } else if (kind == "logins") {
        // 1,000 wrong-password logins in 0.1 s from --addresses addresses (1: as many
        // connections as one address may open), again every 2 s.
        const size_t addresses = static_cast<size_t>(std::max(1L, args.number("addresses", 1)));
        const std::string wrong = framed({ "LOGIN", victim, "wrong-guess", "0" });
        size_t sentLogins = 0, refusedAtOnce = 0, checked = 0;
        while (Clock::now() < end) {
            closeAll(fds);
            for (size_t k = 0; k < 1000; ++k)
                fds.push_back(rawConnect(ClientPool::loopbackSource(4, k % addresses), port));
            for (int fd : fds)
                sentLogins += fd >= 0 && writeSome(fd, wrong) > 0;
            const auto round = Clock::now();
            std::vector<std::string> answers(fds.size());
            while (Clock::now() - round < 2s) {
                for (size_t i = 0; i < fds.size(); ++i) {
                    if (fds[i] >= 0)
                        drain(fds[i], &answers[i]);
                }
                std::this_thread::sleep_for(20ms);
            }
            for (const std::string& a : answers) {
                refusedAtOnce += a.find("-7\n") != std::string::npos;
                checked += a.find("-6\n") != std::string::npos;
            }
        }
        result = "wrong logins sent " + std::to_string(sentLogins) + ": refused at once (7) "
            + std::to_string(refusedAtOnce) + ", checked (6) " + std::to_string(checked);
    } else if (kind == "guess") {
        // One connection after another from one address, guessing the victim's password.
        size_t guesses = 0, checked = 0, refused = 0;
        while (Clock::now() < end) {
            const int fd = rawConnect("127.0.0.1", port);
            if (fd < 0)
                continue;
            writeSome(fd, framed({ "LOGIN", victim, "guess" + std::to_string(guesses++), "0" }));
            std::string answer;
            pollfd p { fd, POLLIN, 0 };
            while (answer.find("-") == std::string::npos && ::poll(&p, 1, 2000) > 0
                && drain(fd, &answer)) { }
            checked += answer.find("-6\n") != std::string::npos;
            refused += answer.find("-7\n") != std::string::npos;
            ::close(fd);
        }
        result = "guesses " + std::to_string(guesses) + ": checked (6) " + std::to_string(checked)
            + ", refused (7) " + std::to_string(refused);
    } else if (kind == "flood") {
        // A logged-in user floods 300 readers: descriptions, long private messages, pings and
        // large shared-folder answers, as fast as the server takes them.
        ClientPool readers("127.0.0.1", port);
        for (size_t k = 0; k < 300; ++k)
            readers.sources.push_back(ClientPool::loopbackSource(5, k));
        std::string error;
        if (!readers.connect(300, error)) {
            std::fprintf(stderr, "pavione-loadgen: %s\n", error.c_str());
            stop = true;
        }
        // Ten at a time: the server checks only a few passwords at once.
        for (size_t first = 0; first < 300 && !stop; first += 10) {
            for (size_t k = first; k < first + 10; ++k) {
                const std::string name = ClientPool::userName(prefix, 10 + k);
                readers.send(k, StringList({ "LOGIN", name, "pw-" + name, "0" }));
            }
            readers.runUntil([&] { return readers.loggedInCount() >= first + 10; }, 10s);
        }
        size_t delivered = 0;
        readers.onMessage = [&](size_t, const StringList&) { ++delivered; };
        const int fd = rawConnect("127.6.0.1", port);
        const std::string flooder = ClientPool::userName(prefix, 2);
        writeSome(fd, framed({ "LOGIN", flooder, "pw-" + flooder, "0" }), 1s);
        const std::string reader = ClientPool::userName(prefix, 10);
        std::string dir = frameMessage([&] {
            StringList m({ "XTELL", ClientPool::userName(prefix, 11), "DIR", "\\" });
            for (int i = 0; i < 15; ++i)
                m.append(std::string(60000, 'r'));
            return m;
        }());
        std::string mix;
        for (int i = 0; i < 100; ++i)
            mix += framed({ "MODCOMMENT", std::to_string(i) + std::string(200, 'c') });
        mix += framed({ "TELL", reader, std::string(64 * 1024, 't') });
        for (int i = 0; i < 10; ++i)
            mix += framed({ "PING", reader, std::to_string(i) });
        mix += dir;
        std::atomic<size_t> pushed { 0 };
        std::thread pushing([&] {
            while (Clock::now() < end) {
                pushed += writeSome(fd, mix, 100ms);
                drain(fd);
            }
        });
        readers.runUntil([&] { return Clock::now() >= end; }, duration + 5s);
        pushing.join();
        ::close(fd);
        result = "flooder wrote " + std::to_string(pushed.load() / 1024) + " KiB; readers got "
            + std::to_string(delivered) + " messages, " + std::to_string(readers.closedCount())
            + " of 300 readers dropped";
    } else {
        std::fprintf(stderr, "pavione-loadgen: unknown --kind '%s'\n", kind.c_str());
    }
    stop = true;
    arrivals.join();
    prober.join();
    closeAll(fds);
    std::sort(rounds.values.begin(), rounds.values.end());
    std::sort(logins.values.begin(), logins.values.end());

    std::printf("attack %s for %.0f s: %s\n", kind.c_str(), ms(Clock::now() - start) / 1000,
        result.c_str());
    std::printf("  well-behaved user's round trip: p50 %.2f ms, p99 %.2f ms, max %.2f ms "
                "(%zu answers, %zu unanswered)\n",
        rounds.at(0.5), rounds.at(0.99), rounds.max(), rounds.values.size(), unanswered);
    std::printf("  newcomer logins from another address: p50 %.1f ms, max %.1f ms (%zu ok, %zu "
                "failed)\n",
        logins.at(0.5), logins.max(), logins.values.size(), failedLogins);
    if (pid > 0) {
        std::printf("  server memory: resident %.1f MB, peak resident %.1f MB\n",
            procStatusKb(pid, "VmRSS") / 1024.0, procStatusKb(pid, "VmHWM") / 1024.0);
    }
    return 0;
}
