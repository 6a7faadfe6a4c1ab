#pragma once

#include <atomic>
#include <string>
#include <string_view>

// One of the program's own fixed texts (a root name, a default name, a message). It is written
// once in UTF-8 where it is declared (texts.h) and handed to the core as CP932 bytes, converted on
// first use and kept for the rest of the run.
class FixedText {
public:
    constexpr explicit FixedText(std::u8string_view utf8)
        : m_utf8(utf8)
    { }
    FixedText(const FixedText&) = delete;
    FixedText& operator=(const FixedText&) = delete;

    // The text as CP932 bytes.
    const std::string& bytes() const;
    operator const std::string&() const { return bytes(); }
    std::string_view utf8() const
    {
        return { reinterpret_cast<const char*>(m_utf8.data()), m_utf8.size() };
    }

private:
    std::u8string_view m_utf8;
    mutable std::atomic<const std::string*> m_bytes { nullptr };
};
