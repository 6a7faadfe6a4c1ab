#include "records/recordline.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any bytes as a record line: reading never goes past the end, and a record read from a line
// writes a line that reads back to the same result, date and moves (and players, unless their
// names hold line ends, which the line carries as ESC).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const OpeningBook book;
    PlayerNameTable names;
    GameRecord first;
    recordFromLine(std::string_view(reinterpret_cast<const char*>(data), size), first, names, book);
    const std::string line = recordToLine(first, names);
    GameRecord second;
    recordFromLine(line, second, names, book);
    if (second.moves != first.moves || second.playedAt != first.playedAt
        || second.blackDiscs != first.blackDiscs || second.whiteDiscs != first.whiteDiscs
        || second.orientation != first.orientation || second.winner != first.winner
        || second.endType != first.endType)
        std::abort();
    const auto plain
        = [&](int player) { return names.name(player).find_first_of("\r\n") == std::string::npos; };
    if ((plain(first.blackPlayer) && second.blackPlayer != first.blackPlayer)
        || (plain(first.whitePlayer) && second.whitePlayer != first.whitePlayer))
        std::abort();
    return 0;
}
