#include "cliargs.h"
#include "command.h"

#include "board/movelist.h"
#include "board/notation.h"
#include "board/squares.h"
#include "library/collectiontree.h"
#include "library/openingexplorer.h"
#include "records/collectionfile.h"

#include <cstdio>
#include <optional>

namespace {

// The moves played from a position in a collection's games, one JSON line per move, the most
// common first.
int runExplore(std::span<char* const> argv)
{
    std::vector<std::string_view> args = argumentList(argv);
    const std::string text = takeOption(args, "--moves");
    if (args.size() != 1) {
        std::fputs("usage: pavione-cli explore COLLECTION [--moves F5D6...]\n", stderr);
        return 2;
    }
    const std::optional<MoveList> moves = playableMoves(text);
    if (!moves)
        return 1;
    const std::string path(args[0]);
    RecordCollection collection;
    if (loadCollection(path, collection, OpeningBook {}) != 0) {
        std::fprintf(stderr, "pavione-cli: %s does not load as a collection file\n", path.c_str());
        return 1;
    }
    CollectionTree tree;
    tree.adopt(std::move(collection));
    const OpeningExplorer explorer(tree);
    std::vector<int> squares;
    for (int square : *moves)
        squares.push_back(board::rowOf(square) * 8 + board::columnOf(square));
    for (const ExplorerMove& m : explorer.explore(squares)) {
        const char name[3] = { char('A' + m.square % 8), char('1' + m.square / 8), 0 };
        char average[32] = "null";
        if (m.avgBlackDiscs)
            std::snprintf(average, sizeof average, "%.2f", *m.avgBlackDiscs);
        std::printf("{\"move\":\"%s\",\"games\":%u,\"black\":%u,\"white\":%u,\"other\":%u,"
                    "\"avgBlackDiscs\":%s}\n",
            name, m.games, m.blackWins, m.whiteWins, m.others, average);
    }
    return 0;
}

const CommandRegistration registration { { "explore",
    "explore COLLECTION [--moves F5D6...]   the moves played from a position, as JSON lines",
    &runExplore } };

} // namespace
