#include "archive_invariants.h"
#include "records/ggffile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Any text as a game server archive: no crash and no endless loop, legal games only, and each
// game written again reads back as the same moves.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ArchiveReport report;
    int games = 0;
    ggf::readGames(text, "f", report, [&](ArchiveGame& game) {
        ++games;
        checkArchiveGame(game);
        const std::string again = ggf::writeGame(game);
        ArchiveReport second;
        int read = 0;
        ggf::readGames(again, "f", second, [&](ArchiveGame& back) {
            ++read;
            if (back.moves != game.moves)
                std::abort();
            return true;
        });
        if (read != 1 || second.cut != 0)
            std::abort();
        return true;
    });
    checkArchiveReport(report, games);
    return 0;
}
