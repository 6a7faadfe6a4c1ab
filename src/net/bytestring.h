#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// An owned byte string: CP932 text or any other bytes, never converted. The bytes are always
// followed by a NUL (data() is never null, also for the empty string), so they can be handed to
// code that wants a terminated string.
class ByteString {
public:
    ByteString() = default;
    // From (pointer, length): a null pointer or a length of 0 gives the empty string; a negative
    // length takes the bytes up to the first NUL.
    ByteString(const char* bytes, int32_t length);
    // The bytes up to the first NUL; a null pointer gives the empty string.
    explicit ByteString(const char* bytes)
        : ByteString(bytes, -1)
    { }
    explicit ByteString(std::string_view bytes)
        : m_bytes(bytes)
    { }
    explicit ByteString(std::string&& bytes)
        : m_bytes(std::move(bytes))
    { }

    const char* data() const { return m_bytes.c_str(); }
    int32_t length() const { return static_cast<int32_t>(m_bytes.size()); }
    bool empty() const { return m_bytes.empty(); }
    // The byte at i as an unsigned value, or 0 when i lies outside 0..length-1.
    unsigned char at(int32_t i) const
    {
        return i >= 0 && i < length() ? static_cast<unsigned char>(m_bytes[i]) : 0;
    }

    std::string_view view() const { return m_bytes; }
    operator std::string_view() const { return m_bytes; }
    const std::string& str() const { return m_bytes; }
    // Hands the bytes over without copying; the string is left empty.
    std::string take() { return std::move(m_bytes); }

    // Drops every backslash and keeps the byte after it unchanged, even a second backslash; a
    // backslash at the very end is dropped.
    void unescape();

    friend bool operator==(const ByteString& a, const ByteString& b) = default;
    friend bool operator==(const ByteString& a, std::string_view b) { return a.m_bytes == b; }

private:
    std::string m_bytes;
};

// True when the text holds only spaces and tabs (an empty text is blank).
bool isBlank(std::string_view text);
// The text without the spaces, tabs and line breaks at either end. Byte by byte: a full-width
// space stays.
std::string_view trimWhiteSpace(std::string_view text);
