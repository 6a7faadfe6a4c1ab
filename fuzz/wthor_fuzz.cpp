#include "archive_invariants.h"
#include "records/wthorfile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Any bytes as a tournament game file and as its names files: no crash, legal games only, and
// never more games than the bytes hold.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto players = wthor::readNames(bytes, wthor::kPlayerBytes);
    const auto tournaments = wthor::readNames(bytes, wthor::kTournamentBytes);
    if (players.size() > size / wthor::kPlayerBytes + 1)
        std::abort();
    ArchiveReport report;
    int games = 0;
    wthor::readGames(bytes, players, tournaments, report, [&](ArchiveGame& game) {
        ++games;
        return checkArchiveGame(game);
    });
    checkArchiveReport(report, games);
    if (size_t(games) > size / wthor::kGameBytes)
        std::abort();
    return 0;
}
