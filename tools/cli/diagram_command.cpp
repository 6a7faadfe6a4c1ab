#include "cliargs.h"
#include "command.h"

#include "board/boarddiagram.h"
#include "board/othellogame.h"
#include "records/collectionfile.h"
#include "records/gamerecord.h"

#include <charconv>
#include <cstdio>
#include <string>

#ifdef PAVIONE_CLI_PICTURES
#include "viewer/diagramimage.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#endif

namespace {

int usage()
{
    std::fputs(
        "usage: pavione-cli diagram COLLECTION SLOT [--move N] [--numbers] OUT.svg|OUT.png\n",
        stderr);
    return 2;
}

bool parseCount(std::string_view text, int& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 0;
}

bool writeFile(const std::string& path, const std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool writePng(const BoardDiagram& diagram, const std::string& path)
{
#ifdef PAVIONE_CLI_PICTURES
    // The fonts need a GUI application; no display is wanted for a picture written to a file.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "pavione-cli";
    char* argv[] = { name, nullptr };
    QGuiApplication application(argc, argv);
    return diagramImage(diagram).save(QString::fromLocal8Bit(path.c_str()), "PNG");
#else
    (void)diagram;
    (void)path;
    std::fputs("pavione-cli: this build writes diagrams as SVG only\n", stderr);
    return false;
#endif
}

// Draws the position of one record, after its first N moves or at its end, as a picture file.
int runDiagram(std::span<char* const> argv)
{
    std::vector<std::string_view> args = argumentList(argv);
    const std::string moveText = takeOption(args, "--move");
    const bool numbers = takeFlag(args, "--numbers");
    int slot = -1;
    int moves = -1;
    if (args.size() != 3 || !parseCount(args[1], slot))
        return usage();
    if (!moveText.empty() && !parseCount(moveText, moves))
        return usage();
    const std::string out(args[2]);
    const bool png = out.ends_with(".png") || out.ends_with(".PNG");
    if (!png && !out.ends_with(".svg") && !out.ends_with(".SVG"))
        return usage();

    const std::string path(args[0]);
    RecordCollection collection;
    if (loadCollection(path, collection, OpeningBook {}) != 0) {
        std::fprintf(stderr, "pavione-cli: %s does not load as a collection file\n", path.c_str());
        return 1;
    }
    if (size_t(slot) >= collection.records.size() || collection.records[size_t(slot)].folder < 0) {
        std::fprintf(stderr, "pavione-cli: %s has no record in slot %d\n", path.c_str(), slot);
        return 1;
    }
    OthelloGame game;
    gameOfRecord(collection.records[size_t(slot)], game);
    if (moves >= 0) {
        if (moves > game.length()) {
            std::fprintf(stderr, "pavione-cli: the record has %d moves\n", game.length());
            return 1;
        }
        while (game.cursor() > moves && game.undo()) { }
    }
    const BoardDiagram diagram = BoardDiagram::of(game, numbers);
    const bool written = png ? writePng(diagram, out) : writeFile(out, diagramSvg(diagram));
    if (!written) {
        std::fprintf(stderr, "pavione-cli: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

const CommandRegistration registration { { "diagram",
    "diagram COLLECTION SLOT [--move N] [--numbers] OUT.svg|OUT.png  a record's position as a "
    "picture",
    &runDiagram } };

} // namespace
