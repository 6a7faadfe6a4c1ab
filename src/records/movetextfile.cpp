#include "records/movetextfile.h"

#include "board/bitposition.h"
#include "board/notation.h"

#include <algorithm>

namespace movetext {

bool readGames(std::string_view text, const std::string& nameBase, ArchiveReport& report,
    const ArchiveGameSink& sink)
{
    int lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty())
            continue;
        const std::string which = "line " + std::to_string(lineNumber);
        const MoveList written = textToMoves(line);
        BitPosition position;
        const int legal = replayLegalPrefix(written, position);
        if (legal == 0) {
            ++report.skipped;
            report.note(which + ": no legal move");
            continue;
        }
        ArchiveGame game;
        game.moves = MoveList::fromBytes(written.bytes().substr(0, static_cast<size_t>(legal)));
        // Text after the moves (a result, a comment) is allowed; a move that cannot be played is
        // not.
        game.cut = legal < written.size();
        game.sourceEnd = std::min(start, text.size());
        game.name = nameBase + " #" + std::to_string(report.filed + 1);
        if (game.cut) {
            ++report.cut;
            report.note(which + ": moves stop being legal at move " + std::to_string(legal + 1));
        }
        ++report.filed;
        if (!sink(game))
            return false;
    }
    return true;
}

} // namespace movetext
