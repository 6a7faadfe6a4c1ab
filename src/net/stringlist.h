#pragma once

#include "net/bytestring.h"

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

// An ordered list of byte strings. Every network message is one: item 0 is the command word, the
// others are its arguments. Reading past the end never fails: it yields the shared empty string.
class StringList {
public:
    StringList() = default;
    StringList(std::initializer_list<std::string_view> items);

    int32_t count() const { return static_cast<int32_t>(m_items.size()); }
    bool empty() const { return m_items.empty(); }
    // Item i, or a shared, permanently empty string when i lies outside 0..count-1.
    const ByteString& item(int32_t i) const;
    // Item i for in-place changes (such as unescape); i must lie inside 0..count-1.
    ByteString& itemRef(int32_t i);

    // Each append returns the new count. A negative length takes the bytes up to the first NUL.
    int32_t append(const char* bytes, int32_t length);
    int32_t append(std::string_view bytes);
    int32_t append(ByteString bytes);
    // Appends the decimal form of n ("%d").
    int32_t appendInteger(int32_t n);
    void clear() { m_items.clear(); }

    // Index of the first item whose bytes equal text exactly (case-sensitive), or -1.
    int32_t find(std::string_view text) const;
    // Removes items start..end inclusive and returns the new count; -1 (and nothing removed) when
    // either bound lies outside 0..count-1.
    int32_t removeRange(int32_t start, int32_t end);
    // Replaces the list with the fields of text cut at every separator byte, and returns the
    // count. Empty fields stay (a leading separator or two in a row), but a separator at the very
    // end adds no empty last field and an empty text gives no fields. With maxFields >= 2 the
    // last field takes the rest of the text whole. The scan is byte by byte, so a separator that
    // is the second byte of a double-byte character splits there too.
    int32_t split(std::string_view text, char separator, int32_t maxFields = -1);

    std::vector<ByteString>::const_iterator begin() const { return m_items.begin(); }
    std::vector<ByteString>::const_iterator end() const { return m_items.end(); }

    friend bool operator==(const StringList& a, const StringList& b) = default;

private:
    std::vector<ByteString> m_items;
};
