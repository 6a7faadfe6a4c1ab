#include "records/textlimits.h"

#include "text/cp932.h"

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
