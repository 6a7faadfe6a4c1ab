#include "net/framing.h"

#include <algorithm>

size_t framedLength(const StringList& message)
{
    size_t length = 0;
    for (const ByteString& item : message)
        length += static_cast<size_t>(item.length()) + 2;
    return length;
}

bool frameMessage(const StringList& message, ByteBuffer& out)
{
    // Framed whole first, so that a buffer that cannot take it is left as it was.
    return out.append(frameMessage(message));
}

std::string frameMessage(const StringList& message)
{
    std::string framed;
    framed.reserve(framedLength(message));
    const int32_t last = message.count() - 1;
    for (int32_t i = 0; i <= last; ++i) {
        framed += i == last ? '-' : '+';
        const size_t start = framed.size();
        framed += message.item(i).view();
        std::replace(framed.begin() + static_cast<std::ptrdiff_t>(start), framed.end(), '\n', ' ');
        framed += '\n';
    }
    return framed;
}
