#include "net/bytestring.h"

#include <cstring>

ByteString::ByteString(const char* bytes, int32_t length)
{
    if (!bytes || length == 0)
        return;
    if (length < 0)
        m_bytes.assign(bytes);
    else
        m_bytes.assign(bytes, static_cast<size_t>(length));
}

void ByteString::unescape()
{
    size_t out = 0;
    for (size_t in = 0; in < m_bytes.size(); ++in) {
        if (m_bytes[in] == '\\') {
            if (++in == m_bytes.size())
                break;
        }
        m_bytes[out++] = m_bytes[in];
    }
    m_bytes.resize(out);
}

bool isBlank(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view trimWhiteSpace(std::string_view text)
{
    constexpr std::string_view white = " \t\r\n";
    const size_t first = text.find_first_not_of(white);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(white) - first + 1);
}
