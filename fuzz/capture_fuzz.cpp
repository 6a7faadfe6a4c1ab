#include "board/orientation.h"
#include "board/othellogame.h"
#include "capture/tablecapture.h"
#include "capture/tabletitle.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any bytes as a table title followed by a run of table readings: the title parse stays within
// its bounds, and however the readings jump about, every game the capture files replays from the
// starting position with exactly the moves and disc counts it carries.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t titleLength = size == 0 ? 0 : data[0] % 64;
    const std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view title = rest.substr(size == 0 ? 0 : 1, titleLength);
    TableSnapshot first;
    if (tabletitle::parse(title, first)
        && (first.room.size() > tabletitle::kMaxNameBytes
            || first.host.size() > tabletitle::kMaxNameBytes))
        std::abort();

    const auto check = [](const CapturedGame& game) {
        OthelloGame replay;
        replay.selectVariant(OthelloBoard::kVariantStandard);
        const MoveList moves = transform(game.moves, game.orientation);
        if (replay.replay(moves) != game.moveCount || game.moveCount != moves.size())
            std::abort();
        if (game.endType == GameRecord::normalEnd
            && (game.blackDiscs != replay.blackCount() || game.whiteDiscs != replay.whiteCount()
                || !replay.gameOver()))
            std::abort();
    };
    // Each reading: one byte picks a change, then cells follow; a start from the starting
    // position makes real games likely.
    TableSnapshot snapshot = first;
    snapshot.cells[27] = snapshot.cells[36] = 2;
    snapshot.cells[28] = snapshot.cells[35] = 1;
    TableCapture capture(snapshot, true, check, [] { return std::time_t(0); });
    size_t at = 1 + titleLength;
    while (at + 2 <= size) {
        const uint8_t cell = data[at] % 64;
        const uint8_t value = data[at + 1] % 4; // 3 is no disc the table shows; it must be safe
        at += 2;
        snapshot.cells[cell] = value;
        capture.snapshotRead(snapshot, true);
        if (value == 3)
            capture.scanEnded();
    }
    capture.captureTurnedOff();
    return 0;
}
