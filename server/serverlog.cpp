#include "server/serverlog.h"

#include <ctime>

void ServerLog::line(std::string_view text)
{
    if (!m_enabled || !m_out)
        return;
    const std::time_t now = std::time(nullptr);
    std::tm utc {};
    gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
    std::fprintf(
        m_out, "%s pavione-server: %.*s\n", stamp, static_cast<int>(text.size()), text.data());
    std::fflush(m_out);
}

std::string printable(std::string_view bytes, size_t limit)
{
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (out.size() >= limit) {
            out += "...";
            break;
        }
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            static const char digits[] = "0123456789abcdef";
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}
