#include "cliargs.h"
#include "command.h"
#include "folderpath.h"

#include "library/archiveexport.h"
#include "library/collectiontree.h"
#include "records/collectionfile.h"

#include <cstdio>
#include <optional>

namespace {

std::optional<ArchiveFormat> formatNamed(std::string_view name)
{
    if (name == "ggf")
        return ArchiveFormat::serverGames;
    if (name == "text")
        return ArchiveFormat::moveText;
    if (name == "wthor")
        return ArchiveFormat::tournament;
    return std::nullopt;
}

// Writes a folder of a collection file as a game archive.
int runExport(std::span<char* const> argv)
{
    const std::vector<std::string_view> args = argumentList(argv);
    const std::optional<ArchiveFormat> format
        = args.size() == 4 ? formatNamed(args[0]) : std::nullopt;
    if (!format || !args[2].starts_with('\\')) {
        std::fputs("usage: pavione-cli export ggf|text|wthor COLLECTION FOLDERPATH OUT\n", stderr);
        return 2;
    }
    CollectionTree tree;
    const int folder = loadFolderAt(std::string(args[1]), args[2], tree);
    if (folder < 0)
        return 1;
    std::string error;
    const int written = exportArchive(tree, folder, *format, std::string(args[3]), error);
    if (written < 0) {
        std::fprintf(stderr, "pavione-cli: %s\n", error.c_str());
        return 1;
    }
    std::printf("exported %d\n", written);
    return 0;
}

const CommandRegistration registration { { "export",
    "export ggf|text|wthor COLLECTION FOLDERPATH OUT   a folder's games as an archive",
    &runExport } };

} // namespace
