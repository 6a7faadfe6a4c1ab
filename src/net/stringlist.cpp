#include "net/stringlist.h"

#include <cassert>
#include <string>

namespace {
const ByteString emptyString;
}

StringList::StringList(std::initializer_list<std::string_view> items)
{
    m_items.reserve(items.size());
    for (std::string_view item : items)
        m_items.emplace_back(item);
}

const ByteString& StringList::item(int32_t i) const
{
    return i >= 0 && i < count() ? m_items[static_cast<size_t>(i)] : emptyString;
}

ByteString& StringList::itemRef(int32_t i)
{
    assert(i >= 0 && i < count());
    return m_items[static_cast<size_t>(i)];
}

int32_t StringList::append(const char* bytes, int32_t length)
{
    m_items.emplace_back(bytes, length);
    return count();
}

int32_t StringList::append(std::string_view bytes)
{
    m_items.emplace_back(bytes);
    return count();
}

int32_t StringList::append(ByteString bytes)
{
    m_items.push_back(std::move(bytes));
    return count();
}

int32_t StringList::appendInteger(int32_t n)
{
    return append(std::to_string(n));
}

int32_t StringList::find(std::string_view text) const
{
    for (int32_t i = 0; i < count(); ++i) {
        if (m_items[static_cast<size_t>(i)] == text)
            return i;
    }
    return -1;
}

int32_t StringList::removeRange(int32_t start, int32_t end)
{
    if (start < 0 || end < 0 || start >= count() || end >= count())
        return -1;
    // An end before the start removes nothing (the inclusive range is empty).
    if (end >= start)
        m_items.erase(m_items.begin() + start, m_items.begin() + end + 1);
    return count();
}

int32_t StringList::split(std::string_view text, char separator, int32_t maxFields)
{
    m_items.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        if (maxFields >= 2 && count() == maxFields - 1) {
            append(text.substr(pos));
            break;
        }
        const size_t next = text.find(separator, pos);
        if (next == std::string_view::npos) {
            append(text.substr(pos));
            break;
        }
        append(text.substr(pos, next - pos));
        pos = next + 1;
    }
    return count();
}
