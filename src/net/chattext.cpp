#include "net/chattext.h"

#include "library/textformat.h"
#include "text/texts.h"

#include <algorithm>
#include <cstdio>

std::string chatMessageText(std::string_view sender, const StringList& lines)
{
    std::string text;
    for (int32_t i = 0; i < lines.count(); ++i) {
        if (i == 0) {
            text += chatLineText(sender, lines.item(i).view());
            continue;
        }
        text.append(sender.size() + 3, ' ');
        text.append(lines.item(i).view());
        text += "\r\n";
    }
    return text;
}

std::string chatLineText(std::string_view sender, std::string_view text)
{
    return formatText(texts::chatFirstLine.bytes(), { sender, text });
}

std::string pingDelayText(uint32_t now, int32_t tick, int32_t delay)
{
    const int64_t own = std::max<int64_t>(0,
        static_cast<int64_t>(static_cast<uint32_t>(now - static_cast<uint32_t>(tick)))
            - static_cast<int64_t>(delay));
    const int64_t peer = std::max<int64_t>(0, delay);
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, texts::peerDelay.bytes().c_str(),
        static_cast<int>(own / 1000), static_cast<int>((own % 1000) / 10),
        static_cast<int>(peer / 1000), static_cast<int>((peer % 1000) / 10));
    return buffer;
}

std::string idleTimeText(int32_t seconds)
{
    return formatText(texts::peerIdleSeconds.bytes(), { static_cast<int>(seconds) });
}
