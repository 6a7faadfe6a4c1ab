#include "recordjson.h"
#include "buildpaths.h"

#include "board/notation.h"
#include "json.h"

#include <filesystem>
#include <string_view>

namespace {

std::string field(std::string_view key, long long value)
{
    return "\"" + std::string(key) + "\":" + std::to_string(value);
}

std::string field(std::string_view key, const std::string& cp932Text)
{
    return "\"" + std::string(key) + "\":" + jsonString(cp932Text);
}

std::string object(std::initializer_list<std::string> fields)
{
    std::string out = "{";
    for (const std::string& f : fields) {
        if (out.size() > 1)
            out += ',';
        out += f;
    }
    return out + "}";
}

} // namespace

std::string folderJson(int index, const RecordFolder& f)
{
    return object(
        { field("type", std::string("folder")), field("index", index), field("parent", f.parent),
            field("name", f.name), field("share", f.shareName), field("comment", f.shareComment),
            field("created", f.created), field("deleted", f.deletedAt) });
}

std::string nameJson(int index, const std::string& name)
{
    return object(
        { field("type", std::string("name")), field("index", index), field("name", name) });
}

std::string recordJson(
    int slot, const GameRecord& r, const PlayerNameTable& names, const OpeningBook& book)
{
    return object({ field("type", std::string("record")), field("slot", slot),
        field("folder", r.folder), field("name", r.name), field("black", r.blackPlayer),
        field("white", r.whitePlayer), field("blackName", names.name(r.blackPlayer)),
        field("whiteName", names.name(r.whitePlayer)), field("blackDiscs", r.blackDiscs),
        field("whiteDiscs", r.whiteDiscs), field("winner", r.winner), field("endType", r.endType),
        field("orientation", r.orientation), field("playedAt", r.playedAt),
        field("deletedAt", r.deletedAt), field("moves", movesToText(r.moves)),
        field("played", movesToText(playedMoves(r))), field("opening", book.name(r.opening)),
        field("result", resultText(r)), field("comment", r.comment) });
}

OpeningBook openingBookFor(const std::string& bookPath, const std::string& collectionPath)
{
    std::string path = bookPath;
    if (path.empty()) {
        const std::filesystem::path beside
            = std::filesystem::path(collectionPath).parent_path() / "opening.txt";
        std::error_code error;
        path = !collectionPath.empty() && std::filesystem::is_regular_file(beside, error)
            ? beside.string()
            : std::string(PAVIONE_SOURCE_DIR) + "/res/opening.txt";
    }
    OpeningBook book;
    book.load(path);
    return book;
}
