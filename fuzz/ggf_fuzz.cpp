#include "archive_invariants.h"
#include "records/ggffile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// Any text as a game server archive: no crash and no endless loop, legal games only, and each
// game written again reads back as the same moves. Read in small parts, every part up to the first
// one that says it did not read as the whole text would gives the same games as the whole reading.
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

    std::vector<std::string> whole;
    ArchiveReport ignored;
    ggf::readGames(text, "f", ignored, [&](ArchiveGame& game) {
        whole.push_back(game.name + ggf::writeGame(game));
        return true;
    });
    size_t at = 0;
    for (const ggf::Part& part : ggf::splitIntoParts(text, 2)) {
        std::vector<std::string> read;
        const ggf::PartEnd end = ggf::readPart(text, part, "f", ignored, [&](ArchiveGame& game) {
            read.push_back(game.name + ggf::writeGame(game));
            return true;
        });
        if (!end.betweenGames || end.gamesStarted != part.gameStarts)
            break;
        for (const std::string& game : read) {
            if (at >= whole.size() || whole[at++] != game)
                std::abort();
        }
    }
    return 0;
}
