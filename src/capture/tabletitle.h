#pragma once

#include "capture/tablesnapshot.h"

#include <string>
#include <string_view>

// The titles of the client's table windows, "ゲーム：Othello - ルーム：room - テーブル：n -
// ホスト：host", as CP932 bytes.
namespace tabletitle {

// Room and host are kept to this many bytes, cut at a character boundary.
inline constexpr size_t kMaxNameBytes = 127;

// True when the title starts with "ゲーム：Othello" (15 bytes).
bool isTableTitle(std::string_view title);
// Reads room, table number and host into the snapshot, as a scanf format
// "ゲーム：Othello - ルーム：%[^ ] - テーブル：%d - ホスト：%[^ ]" would: room and host are runs
// of bytes other than a space, each blank of the format stands for any run of white space, the
// number may carry a sign. When a field is missing (or the number does not fit in 32 bits) room
// and host become empty and the table 0, and false is returned.
bool parse(std::string_view title, TableSnapshot& snapshot);
// The title of a table, as the client writes it.
std::string make(std::string_view room, int table, std::string_view host);

} // namespace tabletitle
