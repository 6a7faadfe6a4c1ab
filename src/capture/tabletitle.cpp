#include "capture/tabletitle.h"

#include "text/cp932.h"
#include "text/texts.h"

#include <cstdint>

namespace tabletitle {

namespace {

bool isWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reading the title the way scanf reads its format: a blank in the literal skips any white space
// in the input (none included), every other byte must match.
class TitleScanner {
public:
    explicit TitleScanner(std::string_view text)
        : m_rest(text)
    { }

    bool literal(std::string_view format)
    {
        for (const char f : format) {
            if (isWhite(f)) {
                skipWhite();
            } else if (!m_rest.empty() && m_rest.front() == f) {
                m_rest.remove_prefix(1);
            } else {
                return false;
            }
        }
        return true;
    }

    // %[^ ]: one or more bytes other than a space.
    bool word(std::string& out)
    {
        size_t n = 0;
        while (n < m_rest.size() && m_rest[n] != ' ')
            ++n;
        if (n == 0)
            return false;
        out = cutAtCharacter(m_rest.substr(0, n));
        m_rest.remove_prefix(n);
        return true;
    }

    // %d: white space, an optional sign, one or more digits.
    bool number(int32_t& out)
    {
        skipWhite();
        std::string_view digits = m_rest;
        bool negative = false;
        if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
            negative = digits.front() == '-';
            digits.remove_prefix(1);
        }
        int64_t value = 0;
        size_t n = 0;
        while (n < digits.size() && digits[n] >= '0' && digits[n] <= '9') {
            value = value * 10 + (digits[n] - '0');
            if (value > int64_t(INT32_MAX) + 1)
                return false;
            ++n;
        }
        if (n == 0)
            return false;
        value = negative ? -value : value;
        if (value > INT32_MAX || value < INT32_MIN)
            return false;
        out = static_cast<int32_t>(value);
        m_rest.remove_prefix(digits.data() + n - m_rest.data());
        return true;
    }

private:
    void skipWhite()
    {
        while (!m_rest.empty() && isWhite(m_rest.front()))
            m_rest.remove_prefix(1);
    }

    // At most kMaxNameBytes bytes, never ending in the first half of a double-byte character.
    static std::string cutAtCharacter(std::string_view text)
    {
        if (text.size() <= kMaxNameBytes)
            return std::string(text);
        size_t end = 0;
        while (end < text.size()) {
            const size_t next
                = end + (cp932::isLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1);
            if (next > kMaxNameBytes)
                break;
            end = next;
        }
        return std::string(text.substr(0, end));
    }

    std::string_view m_rest;
};

} // namespace

bool isTableTitle(std::string_view title)
{
    return title.starts_with(texts::tableTitlePrefix.bytes());
}

bool parse(std::string_view title, TableSnapshot& snapshot)
{
    TitleScanner scan(title);
    std::string room;
    std::string host;
    int32_t table = 0;
    if (scan.literal(texts::tableTitlePrefix.bytes()) && scan.literal(texts::tableTitleRoom.bytes())
        && scan.word(room) && scan.literal(texts::tableTitleTable.bytes()) && scan.number(table)
        && scan.literal(texts::tableTitleHost.bytes()) && scan.word(host)) {
        snapshot.room = std::move(room);
        snapshot.host = std::move(host);
        snapshot.table = table;
        return true;
    }
    snapshot.room.clear();
    snapshot.host.clear();
    snapshot.table = 0;
    return false;
}

std::string make(std::string_view room, int table, std::string_view host)
{
    std::string title = texts::tableTitlePrefix.bytes();
    title += texts::tableTitleRoom.bytes();
    title += room;
    title += texts::tableTitleTable.bytes();
    title += std::to_string(table);
    title += texts::tableTitleHost.bytes();
    title += host;
    return title;
}

} // namespace tabletitle
