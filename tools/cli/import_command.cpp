#include "cliargs.h"
#include "command.h"

#include "library/datadirectorylock.h"
#include "library/librarynoticesink.h"
#include "library/libraryoperations.h"
#include "library/libraryprompter.h"
#include "library/libraryviewobserver.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "records/collectionfile.h"
#include "records/openingbook.h"
#include "text/cp932.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <iterator>

namespace {

// No windows here: questions are answered yes, messages go to standard error.
struct ConsoleDesktop : LibraryPrompter, NoLibraryViews, LibraryNoticeSink {
    bool confirm(const std::string&, const std::string&) override { return true; }
    void showError(const std::string& title, const std::string& text) override
    {
        std::fprintf(stderr, "pavione-cli: %s: %s\n", cp932::toUtf8(title).c_str(),
            cp932::toUtf8(text).c_str());
    }
    int32_t sendWindowNotice(int32_t, uint32_t, uint32_t) override { return 0; }
};

// Files the lines of moves on standard input as records in a folder of a collection file (made
// when missing) and saves it, as a paste of move text into that folder would.
int runImport(std::span<char* const> argv)
{
    std::vector<std::string_view> args = argumentList(argv);
    // Typed in the terminal's UTF-8; folder names are code page 932.
    const std::string folderPath = cp932::fromUtf8(takeOption(args, "--folder", "\\"));
    if (args.size() != 1) {
        std::fputs("usage: pavione-cli import FILE [--folder \\A\\B\\] < text\n", stderr);
        return 2;
    }
    const std::string path(args[0]);
    DataDirectoryLock lock;
    if (!lockDirectoryOf(path, lock))
        return 1;

    RecordLibrary library;
    CollectionTree& collection = library.collection(myRecordsCollection);
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        RecordCollection data;
        if (loadCollection(path, data, library.openingBook()) != 0) {
            // Saving would replace a file that could not be read whole.
            std::fprintf(
                stderr, "pavione-cli: %s does not load as a collection file\n", path.c_str());
            return 1;
        }
        collection.adopt(std::move(data));
    }
    collection.ensureRoot({}, 0);

    Settings settings;
    ConsoleDesktop desktop;
    LibraryOperations ops(library, settings, desktop, desktop, desktop);
    const int folder = ops.ensurePath(myRecordsCollection, 0, folderPath);
    if (folder < 0)
        return 1;
    const std::string text { std::istreambuf_iterator<char>(std::cin),
        std::istreambuf_iterator<char>() };
    const ImportResult result = ops.importText(myRecordsCollection, folder, text);
    if (saveCollection(path, collection.data()) != 0) {
        std::fprintf(stderr, "pavione-cli: %s could not be written\n", path.c_str());
        return 1;
    }
    std::printf("filed %d failed %d\n", result.filed, result.failed);
    if (result.stoppedEarly)
        std::puts("stopped at a line longer than 1000 bytes");
    return 0;
}

const CommandRegistration registration { { "import",
    "import FILE [--folder PATH] < text   file lines of moves as records in a folder",
    &runImport } };

} // namespace
