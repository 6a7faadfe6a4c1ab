#include "cliargs.h"
#include "command.h"
#include "recordjson.h"

#include "records/collectionfile.h"

#include <cstdio>

namespace {

// Prints a collection file as JSON Lines: its folders, player names and record slots in table
// order, as stored (the root and the unknown player are not).
int runDump(std::span<char* const> argv)
{
    std::vector<std::string_view> args = argumentList(argv);
    const std::string bookPath = takeOption(args, "--opening");
    if (args.size() != 1) {
        std::fputs("usage: pavione-cli dump [--opening FILE] FILE\n", stderr);
        return 2;
    }
    const std::string path(args[0]);
    const OpeningBook book = openingBookFor(bookPath, path);
    RecordCollection collection;
    if (loadCollection(path, collection, book) != 0) {
        std::fprintf(stderr, "pavione-cli: %s does not load as a collection file\n", path.c_str());
        return 1;
    }
    std::string out;
    for (size_t i = 1; i < collection.folders.size(); ++i)
        out += folderJson(int(i), collection.folders[i]) + '\n';
    for (int i = 1; i < collection.names.size(); ++i)
        out += nameJson(i, collection.names.name(i)) + '\n';
    for (size_t i = 0; i < collection.records.size(); ++i) {
        out += recordJson(int(i), collection.records[i], collection.names, book) + '\n';
        if (out.size() > (1 << 20)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

const CommandRegistration registration { { "dump",
    "dump [--opening FILE] FILE           a collection file as JSON Lines", &runDump } };

} // namespace
