#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// The server's log: one line per event on a stream (stderr), each stamped with the UTC time.
class ServerLog {
public:
    explicit ServerLog(std::FILE* out = stderr)
        : m_out(out)
    { }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    void line(std::string_view text);

private:
    std::FILE* m_out;
    bool m_enabled = true;
};

// Bytes from the network made safe for a log line: control and non-ASCII bytes as \xNN, cut to
// a bounded length so a hostile name cannot forge or flood log lines.
std::string printable(std::string_view bytes, size_t limit = 64);
