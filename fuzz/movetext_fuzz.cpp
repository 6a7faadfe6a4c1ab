#include "archive_invariants.h"
#include "records/movetextfile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Any text as lines of moves: no crash, legal games only, at most one game per line.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ArchiveReport report;
    int games = 0;
    movetext::readGames(text, "f", report, [&](ArchiveGame& game) {
        ++games;
        return checkArchiveGame(game);
    });
    checkArchiveReport(report, games);
    size_t lines = 1;
    for (char c : text)
        lines += c == '\n';
    if (size_t(games + report.skipped) > lines)
        std::abort();
    return 0;
}
