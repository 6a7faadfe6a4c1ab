#include "cliargs.h"
#include "command.h"
#include "recordjson.h"

#include "records/collectionfile.h"
#include "records/recordline.h"

#include <charconv>
#include <cstdio>
#include <iostream>
#include <iterator>

namespace {

int usage()
{
    std::fputs(
        "usage: pavione-cli line encode FILE SLOT | line decode [--opening FILE] < LINE\n", stderr);
    return 2;
}

// Prints the record line of one record slot of a collection file.
int encode(const std::vector<std::string_view>& args)
{
    const std::string path(args[1]);
    int slot = -1;
    const auto [end, error] = std::from_chars(args[2].begin(), args[2].end(), slot);
    if (error != std::errc() || end != args[2].end())
        return usage();
    RecordCollection collection;
    if (loadCollection(path, collection, OpeningBook {}) != 0) {
        std::fprintf(stderr, "pavione-cli: %s does not load as a collection file\n", path.c_str());
        return 1;
    }
    if (slot < 0 || size_t(slot) >= collection.records.size()) {
        std::fprintf(stderr, "pavione-cli: %s has no record slot %d\n", path.c_str(), slot);
        return 1;
    }
    const std::string line
        = recordToLine(collection.records[size_t(slot)], collection.names) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    return 0;
}

// Reads one record line from standard input and prints the record as "dump" does.
int decode(std::vector<std::string_view>& args)
{
    const OpeningBook book = openingBookFor(takeOption(args, "--opening"), {});
    if (args.size() != 1)
        return usage();
    std::string line { std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>() };
    // The line itself holds no line ends; the one after it is the input's.
    if (line.ends_with('\n'))
        line.pop_back();
    if (line.ends_with('\r'))
        line.pop_back();
    PlayerNameTable names;
    GameRecord record;
    recordFromLine(line, record, names, book);
    std::puts(recordJson(0, record, names, book).c_str());
    return 0;
}

int runLine(std::span<char* const> argv)
{
    std::vector<std::string_view> args = argumentList(argv);
    if (args.size() == 3 && args[0] == "encode")
        return encode(args);
    if (!args.empty() && args[0] == "decode")
        return decode(args);
    return usage();
}

const CommandRegistration registration { { "line",
    "line encode FILE SLOT | line decode  a record as a record line, and back", &runLine } };

} // namespace
