#include "cliargs.h"
#include "command.h"
#include "folderpath.h"

#include "library/collectiontree.h"
#include "library/kaexport.h"
#include "records/collectionfile.h"
#include <cstdio>

namespace {

// Writes the tournament text of one folder of a collection file.
int runExportKa(std::span<char* const> argv)
{
    const std::vector<std::string_view> args = argumentList(argv);
    if (args.size() != 3 || !args[1].starts_with('\\')) {
        std::fputs("usage: pavione-cli export-ka FILE FOLDERPATH OUT   (FOLDERPATH like \\A\\B\\, "
                   "\\ for the root)\n",
            stderr);
        return 2;
    }
    CollectionTree tree;
    const int folder = loadFolderAt(std::string(args[0]), args[1], tree);
    if (folder < 0)
        return 1;
    const std::string out(args[2]);
    if (exportFolder(tree.data(), folder, out) != 0) {
        std::fprintf(stderr, "pavione-cli: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

const CommandRegistration registration { { "export-ka",
    "export-ka FILE FOLDERPATH OUT        a folder's records as tournament text (KA-1.0)",
    &runExportKa } };

} // namespace
