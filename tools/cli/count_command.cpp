#include "cliargs.h"
#include "command.h"

#include "records/collectionfile.h"

#include <algorithm>
#include <cstdio>

namespace {

// Loads a collection and prints what lives in it, for scripts and timing.
int runCount(std::span<char* const> argv)
{
    const std::vector<std::string_view> args = argumentList(argv);
    if (args.size() != 1) {
        std::fputs("usage: pavione-cli count FILE\n", stderr);
        return 2;
    }
    const std::string path(args[0]);
    RecordCollection collection;
    if (loadCollection(path, collection, OpeningBook {}) != 0) {
        std::fprintf(stderr, "pavione-cli: %s does not load as a collection file\n", path.c_str());
        return 1;
    }
    const auto live = [](const auto& table, auto isLive) {
        return long(std::count_if(table.begin(), table.end(), isLive));
    };
    const long folders
        = live(collection.folders, [](const RecordFolder& f) { return f.parent >= 0; });
    const long records
        = live(collection.records, [](const GameRecord& r) { return r.folder >= 0; });
    std::printf(
        "folders %ld names %d records %ld\n", folders, collection.names.size() - 1, records);
    return 0;
}

const CommandRegistration registration { { "count",
    "count FILE                           live folders, player names and records", &runCount } };

} // namespace
