#include "records/textlimits.h"

#include "text/cp932.h"

#include <algorithm>

std::string_view clipText(std::string_view text, size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    size_t end = 0;
    while (end < text.size()) {
        const size_t width = cp932::isLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return text.substr(0, end);
}

std::string_view fitName(std::string_view name)
{
    return clipText(name, kMaxNameBytes);
}

std::string_view takeLine(std::string_view& text, size_t maxBytes)
{
    size_t length = std::min(text.size(), maxBytes);
    if (const size_t end = text.substr(0, length).find('\n'); end != std::string_view::npos)
        length = end + 1;
    const std::string_view line = text.substr(0, length);
    text.remove_prefix(length);
    return line.substr(0, line.find('\0'));
}
