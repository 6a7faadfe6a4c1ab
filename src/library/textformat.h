#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// One argument of formatText: a number for "%d" or bytes for "%s".
class TextArg {
public:
    TextArg(int number)
        : m_number(number)
        , m_isNumber(true)
    { }
    TextArg(std::string_view text)
        : m_text(text)
    { }
    TextArg(const std::string& text)
        : m_text(text)
    { }
    TextArg(const char* text)
        : m_text(text)
    { }

    void appendTo(std::string& out) const;

private:
    std::string_view m_text;
    int m_number = 0;
    bool m_isNumber = false;
};

// Fills the "%s" and "%d" of a CP932 format with the arguments in order, as printf would, but
// copying text arguments whole (a name may hold any byte, NUL included). "%%" gives "%"; a
// directive without an argument left gives nothing.
std::string formatText(std::string_view format, std::initializer_list<TextArg> args);
