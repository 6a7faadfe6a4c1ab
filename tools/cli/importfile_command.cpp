#include "cliargs.h"
#include "command.h"
#include "folderpath.h"
#include "recordjson.h"

#include "library/archiveimport.h"
#include "library/collectiontree.h"
#include "library/datadirectorylock.h"
#include "records/collectionfile.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <unistd.h>

namespace {

// Files the games of archive files (tournament archive, game server archive, move text or
// another collection file) into a collection file, a folder per file, and saves it.
int runImportFile(std::span<char* const> argv)
{
    std::vector<std::string_view> args = argumentList(argv);
    const std::string folderPath = takeOption(args, "--folder", "\\");
    if (args.size() < 2) {
        std::fputs(
            "usage: pavione-cli import-file COLLECTION FILE... [--folder \\A\\B\\]\n", stderr);
        return 2;
    }
    const std::string path(args[0]);
    DataDirectoryLock lock;
    if (!lockDirectoryOf(path, lock))
        return 1;
    const OpeningBook book = openingBookFor({}, path);
    RecordCollection data;
    std::error_code error;
    if (std::filesystem::exists(path, error) && loadCollection(path, data, book) != 0) {
        // Saving would replace a file that could not be read whole.
        std::fprintf(stderr, "pavione-cli: %s does not load as a collection file\n", path.c_str());
        return 1;
    }
    CollectionTree tree;
    tree.adopt(std::move(data));
    const int32_t now = static_cast<int32_t>(std::time(nullptr));
    tree.ensureRoot({}, now);
    const int parent = ensureFolderAt(tree, folderPath, now);
    if (parent < 0) {
        std::fprintf(stderr, "pavione-cli: cannot make the folder %s\n", folderPath.c_str());
        return 1;
    }

    const bool showProgress = ::isatty(STDERR_FILENO) != 0;
    int status = 0;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string file(args[i]);
        ArchiveProgress progress;
        if (showProgress)
            progress = [&](double share) {
                std::fprintf(stderr, "\r%s: %3d%%", file.c_str(), int(share * 100));
                return true;
            };
        const ArchiveImportResult result = importArchiveFile(tree, book, parent, file, progress);
        if (showProgress)
            std::fputs("\r\033[K", stderr);
        if (!result.error.empty()) {
            std::fprintf(stderr, "pavione-cli: %s: %s\n", file.c_str(), result.error.c_str());
            status = 1;
        }
        const ArchiveReport& r = result.report;
        std::printf("%s: filed %d cut %d skipped %d\n", file.c_str(), r.filed, r.cut, r.skipped);
        for (const std::string& reason : r.reasons)
            std::fprintf(stderr, "  %s\n", reason.c_str());
    }
    if (saveCollection(path, tree.data()) != 0) {
        std::fprintf(stderr, "pavione-cli: %s could not be written\n", path.c_str());
        return 1;
    }
    return status;
}

const CommandRegistration registration { { "import-file",
    "import-file COLLECTION FILE... [--folder PATH]   file archives (.wtb, GGF, move text, .kif)",
    &runImportFile } };

} // namespace
