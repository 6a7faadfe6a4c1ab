#include "library/archiveimport.h"

#include "library/collectiontree.h"
#include "records/collectionfile.h"
#include "records/ggffile.h"
#include "records/movetextfile.h"
#include "records/openingbook.h"
#include "records/textlimits.h"
#include "records/wthorfile.h"
#include "text/cp932.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <new>
#include <unordered_map>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Archives are read whole; anything larger than this is not an archive of games.
constexpr uintmax_t kMaxFileBytes = uintmax_t(1) << 30;
constexpr size_t kMaxNameBytes = 255;

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

// A names file of the tournament archive beside the game file: the one sharing its stem, else
// "wthor.<ext>", else the only file with that extension; names compared without case.
std::string findBeside(const fs::path& gameFile, const std::string& extension)
{
    std::error_code error;
    const fs::path directory = gameFile.has_parent_path() ? gameFile.parent_path() : fs::path(".");
    const std::string sameStem = lowerCase(gameFile.stem().string()) + extension;
    const std::string standard = "wthor" + extension;
    std::string byStem, byStandard, only;
    int withExtension = 0;
    for (const auto& entry : fs::directory_iterator(directory, error)) {
        const std::string name = lowerCase(entry.path().filename().string());
        if (name == sameStem)
            byStem = entry.path().string();
        else if (name == standard)
            byStandard = entry.path().string();
        if (lowerCase(entry.path().extension().string()) == extension) {
            ++withExtension;
            only = entry.path().string();
        }
    }
    if (!byStem.empty())
        return byStem;
    if (!byStandard.empty())
        return byStandard;
    return withExtension == 1 ? only : std::string();
}

std::vector<std::string> namesBeside(const fs::path& gameFile, const std::string& extension,
    size_t entryBytes, ArchiveReport& report)
{
    const std::string path = findBeside(gameFile, extension);
    std::string bytes, error;
    if (path.empty() || !readWholeFile(path, bytes, error)) {
        report.note("no " + extension + " file beside it: names unknown");
        return {};
    }
    return wthor::readNames(bytes, entryBytes);
}

std::string fileNameBase(const fs::path& path)
{
    return std::string(
        clipText(cp932::fromUtf8Transliterated(path.stem().string()), kMaxNameBytes));
}

// Turns games into records of one folder (and tournament folders below it).
class RecordFiler {
public:
    RecordFiler(CollectionTree& tree, const OpeningBook& book, int folder, std::string fileName)
        : m_tree(tree)
        , m_book(book)
        , m_folder(folder)
        , m_fileName(std::move(fileName))
    {
        const PlayerNameTable& names = tree.playerNames();
        for (int i = 1; i < names.size(); ++i)
            m_players.try_emplace(names.name(i), i);
    }

    void file(const ArchiveGame& game)
    {
        GameRecord record;
        const int folder
            = byNumber(m_groupByNumber, game.groupNumber, [&] { return folderOf(game.group); });
        if (size_t(folder) >= m_counters.size())
            m_counters.resize(size_t(folder) + 1, 0);
        const int counter = ++m_counters[size_t(folder)];
        // Named after the tournament, or the file when the tournament is not known.
        if (game.name.empty()) {
            // Made in one allocation: a million records make a million names.
            const std::string_view base
                = clipText(game.group.empty() ? m_fileName : game.group, kMaxNameBytes - 8);
            char digits[16];
            const auto end = std::to_chars(digits, digits + sizeof digits, counter).ptr;
            record.name.reserve(base.size() + 2 + size_t(end - digits));
            record.name.append(base).append(" #").append(digits, end);
        } else {
            record.name = game.name;
        }
        record.blackPlayer = static_cast<int16_t>(
            byNumber(m_playerByNumber, game.blackNumber, [&] { return player(game.black); }));
        record.whitePlayer = static_cast<int16_t>(
            byNumber(m_playerByNumber, game.whiteNumber, [&] { return player(game.white); }));
        record.winner = game.winner;
        record.endType = game.endType;
        if (game.endType == GameRecord::normalEnd) {
            record.blackDiscs = game.blackDiscs;
            record.whiteDiscs = game.whiteDiscs;
        }
        record.playedAt = game.playedAt;
        normaliseMoves(record, game.moves, m_book);
        m_tree.addRecord(folder, std::move(record));
    }

private:
    // What lookUp gives for the archive's name number, asked once per number; lookUp alone when
    // the archive does not number its names.
    template <typename LookUp>
    static int byNumber(std::vector<int>& cache, int number, LookUp lookUp)
    {
        if (number < 0 || number > UINT16_MAX)
            return lookUp();
        if (size_t(number) >= cache.size())
            cache.resize(size_t(number) + 1, -1);
        int& known = cache[size_t(number)];
        if (known < 0)
            known = lookUp();
        return known;
    }

    // Names as the archive spells them, each fitted once; names that fit to the same text share
    // one player.
    int player(const std::string& name)
    {
        if (name.empty())
            return 0;
        if (auto seen = m_seen.find(name); seen != m_seen.end())
            return seen->second;
        const std::string fitted(fitName(name));
        int index;
        if (auto it = m_players.find(fitted); it != m_players.end()) {
            index = it->second;
        } else {
            index = m_tree.playerNames().add(fitted);
            if (index > 0)
                m_players.emplace(fitted, index);
        }
        if (index > 0)
            m_seen.emplace(name, index);
        return index;
    }

    int folderOf(const std::string& group)
    {
        if (group.empty())
            return m_folder;
        auto it = m_groups.find(group);
        if (it != m_groups.end())
            return it->second;
        const std::string name(clipText(group, kMaxNameBytes));
        int folder
            = m_tree.addFolder(m_folder, m_tree.uniqueName(m_folder, name, NameStyle::numbered),
                static_cast<int32_t>(std::time(nullptr)));
        if (folder < 0)
            folder = m_folder; // the folder table is full: the games stay in the file's folder
        m_groups.emplace(group, folder);
        return folder;
    }

    CollectionTree& m_tree;
    const OpeningBook& m_book;
    int m_folder;
    std::string m_fileName;
    std::unordered_map<std::string, int> m_players;
    std::unordered_map<std::string, int> m_seen;
    std::unordered_map<std::string, int> m_groups;
    std::vector<int> m_counters; // records filed so far, by folder
    std::vector<int> m_playerByNumber; // by the archive's number; −1 not yet known
    std::vector<int> m_groupByNumber;
};

} // namespace

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error)
{
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    if (size > kMaxFileBytes) {
        error = "larger than 1 GiB";
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        error = "out of memory";
        return false;
    }
    const size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    bytes.resize(read);
    if (failed) {
        error = "read error";
        return false;
    }
    return true;
}

ArchiveKind recogniseArchive(std::string_view bytes)
{
    if (bytes.starts_with("NKIF-"))
        return ArchiveKind::collection;
    if (ggf::looksLikeGgf(bytes))
        return ArchiveKind::serverGames;
    if (wthor::looksLikeNameFile(bytes, wthor::kPlayerBytes)
        || wthor::looksLikeNameFile(bytes, wthor::kTournamentBytes))
        return ArchiveKind::tournamentNames;
    if (wthor::looksLikeGameFile(bytes))
        return ArchiveKind::tournamentGames;
    return ArchiveKind::moveText;
}

ArchiveImportResult importArchiveFile(CollectionTree& tree, const OpeningBook& book, int parent,
    const std::string& path, const ArchiveProgress& progress)
{
    ArchiveImportResult result;
    std::string bytes;
    if (!readWholeFile(path, bytes, result.error))
        return result;
    const fs::path file(path);
    const ArchiveKind kind = recogniseArchive(bytes);
    const int32_t now = static_cast<int32_t>(std::time(nullptr));

    if (kind == ArchiveKind::tournamentNames) {
        result.report.note("a names file: it is read beside its game file");
        return result;
    }
    if (kind == ArchiveKind::collection) {
        RecordCollection data;
        if (readCollection(bytes, data, book) != 0) {
            result.error = "not a whole collection file";
            return result;
        }
        CollectionTree source;
        source.adopt(std::move(data));
        const std::string name = tree.uniqueName(parent, fileNameBase(file), NameStyle::numbered);
        result.folder = source.folderCount() > 0 ? source.copyFolder(0, tree, parent, name) : -1;
        if (result.folder < 0) {
            result.error = "too many folders for this collection";
            return result;
        }
        result.report.filed = source.subtreeCounts(0).records;
        return result;
    }

    std::string folderName = fileNameBase(file);
    wthor::Header header;
    if (kind == ArchiveKind::tournamentGames && wthor::readHeader(bytes, header)
        && header.year >= 1900 && header.year < 2100)
        folderName = std::to_string(header.year);
    result.folder
        = tree.addFolder(parent, tree.uniqueName(parent, folderName, NameStyle::numbered), now);
    if (result.folder < 0) {
        result.error = "too many folders for this collection";
        return result;
    }

    const std::string base = fileNameBase(file);
    RecordFiler filer(tree, book, result.folder, base);
    int sinceProgress = 0;
    bool stopped = false;
    const ArchiveGameSink sink = [&](ArchiveGame& game) {
        filer.file(game);
        if (progress && ++sinceProgress >= 4096) {
            sinceProgress = 0;
            const double share = double(game.sourceEnd) / double(std::max<size_t>(bytes.size(), 1));
            if (!progress(std::min(1.0, share))) {
                stopped = true;
                return false;
            }
        }
        return true;
    };
    try {
        // Room for the file's games up front: a large archive then fills the record table without
        // moving it as it grows.
        if (kind == ArchiveKind::tournamentGames && header.boardSize != 10
            && bytes.size() > wthor::kHeaderBytes)
            tree.reserveRecords(static_cast<int>(std::min<size_t>(
                (bytes.size() - wthor::kHeaderBytes) / wthor::kGameBytes, INT32_MAX)));
        else if (kind == ArchiveKind::serverGames)
            tree.reserveRecords(ggf::countGameStarts(bytes));
        switch (kind) {
        case ArchiveKind::tournamentGames: {
            const auto players = namesBeside(file, ".jou", wthor::kPlayerBytes, result.report);
            const auto tournaments
                = namesBeside(file, ".trn", wthor::kTournamentBytes, result.report);
            wthor::readGames(bytes, players, tournaments, result.report, sink);
            break;
        }
        case ArchiveKind::serverGames:
            ggf::readGames(bytes, base, result.report, sink);
            break;
        default:
            movetext::readGames(bytes, base, result.report, sink);
            break;
        }
    } catch (const std::bad_alloc&) {
        result.error = "out of memory";
    }
    // A cancelled or failed import leaves nothing behind, and a file without a game no folder.
    if (stopped || !result.error.empty() || result.report.filed == 0) {
        result.cancelled = stopped;
        tree.removeFolder(result.folder);
        result.folder = -1;
    }
    return result;
}
