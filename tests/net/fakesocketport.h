#pragma once

#include "net/socketport.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <string>

// A scripted socket for the connection tests. The state lives apart from the port, so that a test
// can still read it after the connection (which owns the port) is gone.
struct FakeSocketState {
    // What the next receives return: bytes (handed out at most capacity at a time), an error, or
    // the end of the stream (an empty string with error 0). An empty script reads as would-block.
    struct Read {
        std::string bytes;
        int32_t error = 0;
    };

    bool createSucceeds = true;
    int32_t connectResult = socketWouldBlock;
    std::deque<Read> reads;
    // What the next sends return; an empty script takes every byte.
    std::deque<SocketIo> sendResults;

    SocketHandler* handler = nullptr;
    std::string host;
    uint16_t port = 0;
    std::string sent;
    int32_t sendCalls = 0;
    int32_t receiveCalls = 0;
    int32_t closeCalls = 0;
    bool alive = true; // false once the port is deleted

    // Queues bytes and tells the connection, as a socket would when data arrives.
    void arrive(const std::string& bytes)
    {
        reads.push_back({ bytes, 0 });
        if (handler)
            handler->dataAvailable();
    }
};

class FakeSocketPort final : public SocketPort {
public:
    explicit FakeSocketPort(std::shared_ptr<FakeSocketState> state)
        : m_state(std::move(state))
    { }
    ~FakeSocketPort() override { m_state->alive = false; }

    void setHandler(SocketHandler* handler) override { m_state->handler = handler; }
    bool create() override { return m_state->createSucceeds; }
    int32_t connect(const std::string& host, uint16_t port) override
    {
        m_state->host = host;
        m_state->port = port;
        return m_state->connectResult;
    }
    SocketIo send(const char* bytes, int32_t length) override
    {
        ++m_state->sendCalls;
        SocketIo result { length, 0 };
        if (!m_state->sendResults.empty()) {
            result = m_state->sendResults.front();
            m_state->sendResults.pop_front();
        }
        if (result.error == 0)
            m_state->sent.append(bytes, static_cast<size_t>(std::min(result.bytes, length)));
        return result;
    }
    SocketIo receive(char* buffer, int32_t capacity) override
    {
        ++m_state->receiveCalls;
        if (m_state->reads.empty())
            return { 0, socketWouldBlock };
        FakeSocketState::Read& read = m_state->reads.front();
        if (read.error != 0 || read.bytes.empty()) {
            const SocketIo result { 0, read.error };
            m_state->reads.pop_front();
            return result;
        }
        const size_t n = std::min(read.bytes.size(), static_cast<size_t>(capacity));
        std::memcpy(buffer, read.bytes.data(), n);
        read.bytes.erase(0, n);
        if (read.bytes.empty())
            m_state->reads.pop_front();
        return { static_cast<int32_t>(n), 0 };
    }
    void close() override
    {
        ++m_state->closeCalls;
        m_state->handler = nullptr;
    }

private:
    std::shared_ptr<FakeSocketState> m_state;
};
