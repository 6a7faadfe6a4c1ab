#pragma once

#include "net/stringlist.h"

#include <cstdint>
#include <string>
#include <string_view>

// The texts the chat pane, the chat windows and the peer windows show (CP932 bytes).

// A message as it enters a transcript: "sender： first line" and every further line indented by
// the sender's width in bytes plus three spaces, so that it starts under the first line's text.
// Each line ends in CR LF; no lines give no text.
std::string chatMessageText(std::string_view sender, const StringList& lines);
// One line the user sent, as the own transcript shows it.
std::string chatLineText(std::string_view sender, std::string_view text);
// The round trip of a PING: the own side is now - tick - delay (at least 0), both sides shown in
// seconds with two decimals, anything below a hundredth dropped.
std::string pingDelayText(uint32_t now, int32_t tick, int32_t delay);
// A user's idle time, "%d 秒".
std::string idleTimeText(int32_t seconds);
