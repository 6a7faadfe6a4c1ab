#include "cliargs.h"
#include "command.h"
#include "recordjson.h"

#include "board/notation.h"
#include "library/recordsearch.h"
#include "records/collectionfile.h"
#include "text/cp932.h"

#include <cctype>
#include <cstdio>
#include <optional>

namespace {

int usage()
{
    std::fputs("usage: pavione-cli search [--black NAME] [--white NAME] [--and] "
               "[--winner black|white|draw] [--from Y M D] [--to Y M D] [--moves F5D6...] "
               "[--opening FILE] FILE\n",
        stderr);
    return 2;
}

// The player index of a name the search form offers; the unknown player is not one of them.
std::optional<int> playerIndex(const PlayerNameTable& names, const std::string& utf8Name)
{
    if (utf8Name.empty())
        return 0;
    const int index = names.find(cp932::fromUtf8(utf8Name));
    if (index <= 0) {
        std::fprintf(stderr, "pavione-cli: no player named %s\n", utf8Name.c_str());
        return std::nullopt;
    }
    return index;
}

std::optional<int> winnerFilter(const std::string& word)
{
    if (word.empty())
        return SearchCriteria::allResults;
    if (word == "black")
        return SearchCriteria::blackWon;
    if (word == "white")
        return SearchCriteria::whiteWon;
    if (word == "draw")
        return SearchCriteria::noWinner;
    return std::nullopt;
}

SearchDate searchDate(const std::optional<std::vector<std::string>>& fields)
{
    return fields ? SearchDate { (*fields)[0], (*fields)[1], (*fields)[2] } : SearchDate {};
}

// Searches the records of a collection file as the search window does and prints the matching
// slots as "dump" prints them, in table order.
int runSearch(std::span<char* const> argv)
{
    std::vector<std::string_view> args = argumentList(argv);
    const std::string bookPath = takeOption(args, "--opening");
    const std::string black = takeOption(args, "--black");
    const std::string white = takeOption(args, "--white");
    const bool both = takeFlag(args, "--and");
    const std::string winner = takeOption(args, "--winner");
    const auto from = takeOptionValues(args, "--from", 3);
    const auto to = takeOptionValues(args, "--to", 3);
    const std::string moves = takeOption(args, "--moves");
    if (args.size() != 1 || args[0].starts_with("--"))
        return usage();

    SearchCriteria criteria;
    const std::optional<int> winnerPosition = winnerFilter(winner);
    const std::optional<MoveList> preview = playableMoves(moves);
    if (!winnerPosition || !preview)
        return usage();
    criteria.bothPlayers = both;
    criteria.winner = *winnerPosition;
    criteria.from = searchDate(from);
    criteria.to = searchDate(to);
    criteria.moves = *preview;
    criteria.movesCompared = preview->size();

    const std::string path(args[0]);
    const OpeningBook book = openingBookFor(bookPath, path);
    RecordCollection collection;
    if (loadCollection(path, collection, book) != 0) {
        std::fprintf(stderr, "pavione-cli: %s does not load as a collection file\n", path.c_str());
        return 1;
    }
    const std::optional<int> blackIndex = playerIndex(collection.names, black);
    const std::optional<int> whiteIndex = playerIndex(collection.names, white);
    if (!blackIndex || !whiteIndex)
        return 1;
    criteria.black = *blackIndex;
    criteria.white = *whiteIndex;

    std::string out;
    for (int slot : searchRecords(collection, criteria)) {
        out += recordJson(slot, collection.records[size_t(slot)], collection.names, book) + '\n';
        if (out.size() > (1 << 20)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

const CommandRegistration registration { { "search",
    "search [--black N] [--white N] [--and] [--winner W] [--from Y M D] [--to Y M D] [--moves M] "
    "FILE  records as dump lines",
    &runSearch } };

} // namespace
