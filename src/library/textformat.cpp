#include "library/textformat.h"

void TextArg::appendTo(std::string& out) const
{
    if (m_isNumber)
        out += std::to_string(m_number);
    else
        out += m_text;
}

std::string formatText(std::string_view format, std::initializer_list<TextArg> args)
{
    std::string out;
    out.reserve(format.size() + 16);
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            out += c;
            continue;
        }
        const char directive = format[++i];
        if (directive == 's' || directive == 'd') {
            if (next != args.end())
                (next++)->appendTo(out);
        } else if (directive == '%') {
            out += '%';
        } else {
            out += c;
            out += directive;
        }
    }
    return out;
}
