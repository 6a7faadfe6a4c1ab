#include "../tests/net/fakesocketport.h"
#include "net/framing.h"
#include "net/messagereader.h"
#include "net/notices.h"
#include "net/serverconnection.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A broadcast as it arrives: sender and three lines of Japanese text.
StringList bcastSample()
{
    return StringList { "BCAST", "\x91\xBA\x8F\xE3\x8C\x92",
        "\x82\xB1\x82\xF1\x82\xCE\x82\xF1\x82\xCD\x81\x42 \x8D\xA1\x93\xFA\x82\xE0\x82\xE6\x82\xEB"
        "\x82\xB5\x82\xAD",
        "\x96\xBC\x90\x6C\x90\xED\x82\xCC\x8A\xFB\x95\x88\x82\xF0\x8B\xA4\x97\x4C\x82\xB5\x82\xDC"
        "\x82\xB5\x82\xBD",
        "\\\x8B\xA4\x97\x4C\\2024\\" };
}

// A folder listing answer: 100 entries shaped like record lines (hex length fields, names,
// one-character fields, 60 move characters and a comment).
StringList dirSample()
{
    StringList message { "XTELL", "tanida", "DIR", "\\\x8C\xF6\x8E\xAE\x90\xED\\" };
    for (int i = 0; i < 100; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "2024/05/%02d %02d:%02d", i % 28 + 1, i % 24, i % 60);
        std::string line;
        char length[3];
        std::snprintf(length, sizeof length, "%02X", static_cast<unsigned>(std::strlen(name)));
        line += length;
        line += name;
        line += "08\x91\xBA\x8F\xE3\x8C\x92\x8E\x81"; // black player
        line += "08\x92\x4A\x93\x63\x96\x4D\x95\x46"; // white player
        line += "aB3$x";
        line += "Qf1C";
        for (int m = 0; m < 60; ++m)
            line += static_cast<char>('!' + (m * 7 + i) % 90);
        line += "0";
        line += "14\x8D\xC5\x8C\xE3\x82\xCC\x93\x8A\x97\xBF\x82\xAA\x96\xE2\x91\xE8";
        message.append(line);
    }
    return message;
}

void frame(benchmark::State& state, const StringList& message)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(frameMessage(message));
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * framedLength(message)));
}

// Cutting and taking: the wire bytes of many copies arrive in reads of 4096 bytes.
void read(benchmark::State& state, const StringList& message)
{
    std::string wire;
    const int copies = 64;
    for (int i = 0; i < copies; ++i)
        wire += frameMessage(message);
    StringList out;
    for (auto _ : state) {
        MessageReader reader;
        for (size_t at = 0; at < wire.size(); at += ServerConnection::receiveChunk) {
            reader.feed(std::string_view(wire).substr(at, ServerConnection::receiveChunk));
            while (reader.next(out) == MessageReader::Result::Message)
                benchmark::DoNotOptimize(out);
        }
    }
    state.SetItemsProcessed(state.iterations() * copies);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * wire.size()));
}

// The whole client path: bytes through a connection's socket callbacks, its receive buffer and
// next-message, then the typed notice.
void receiveBcastNotices(benchmark::State& state)
{
    const std::string wire = frameMessage(bcastSample());
    auto socket = std::make_shared<FakeSocketState>();
    socket->connectResult = 0;
    ConnectionEventQueue events;
    auto connection
        = ServerConnection::open(std::make_unique<FakeSocketPort>(socket), events, "host", 9292);
    StringList out;
    for (auto _ : state) {
        socket->arrive(wire);
        connection->nextMessage(out);
        benchmark::DoNotOptimize(BcastNotice::fromMessage(out));
        events.take();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_FrameBcast(benchmark::State& state)
{
    frame(state, bcastSample());
}
BENCHMARK(BM_FrameBcast);

void BM_ReadBcast(benchmark::State& state)
{
    read(state, bcastSample());
}
BENCHMARK(BM_ReadBcast);

void BM_ReceiveBcastNotice(benchmark::State& state)
{
    receiveBcastNotices(state);
}
BENCHMARK(BM_ReceiveBcastNotice);

void BM_FrameDir100(benchmark::State& state)
{
    frame(state, dirSample());
}
BENCHMARK(BM_FrameDir100);

void BM_ReadDir100(benchmark::State& state)
{
    read(state, dirSample());
}
BENCHMARK(BM_ReadDir100);

} // namespace
