#include "library/archiveexport.h"

#include "board/notation.h"
#include "library/collectiontree.h"
#include "records/ggffile.h"
#include "records/wthorfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace {

void collect(const CollectionTree& tree, int folder, std::vector<ArchiveGame>& games)
{
    const RecordFolder& f = tree.folder(folder);
    for (int slot : f.records) {
        if (!tree.recordIsLive(slot))
            continue;
        const GameRecord& record = tree.record(slot);
        ArchiveGame game;
        game.black
            = record.blackPlayer ? tree.playerNames().name(record.blackPlayer) : std::string();
        game.white
            = record.whitePlayer ? tree.playerNames().name(record.whitePlayer) : std::string();
        game.moves = playedMoves(record);
        game.winner = record.winner;
        game.endType = record.endType;
        game.blackDiscs = record.blackDiscs;
        game.whiteDiscs = record.whiteDiscs;
        game.playedAt = record.playedAt;
        game.group = f.name;
        game.name = record.name;
        games.push_back(std::move(game));
    }
    for (int child : f.children)
        if (tree.folderIsLive(child))
            collect(tree, child, games);
}

bool writeFile(const std::string& path, const std::string& bytes, std::string& error)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        error = path + ": could not be written";
        return false;
    }
    return true;
}

int yearOf(const std::vector<ArchiveGame>& games)
{
    std::time_t when = games.empty() || games.front().playedAt <= 0 ? std::time(nullptr)
                                                                    : games.front().playedAt;
    std::tm t {};
    localtime_r(&when, &t);
    return t.tm_year + 1900;
}

} // namespace

std::vector<ArchiveGame> gamesOfFolder(const CollectionTree& tree, int folder)
{
    std::vector<ArchiveGame> games;
    if (folder >= 0 && folder < tree.folderCount() && tree.folderIsLive(folder))
        collect(tree, folder, games);
    return games;
}

int exportArchive(const CollectionTree& tree, int folder, ArchiveFormat format,
    const std::string& path, std::string& error)
{
    if (!tree.folderIsLive(folder)) {
        error = "no such folder";
        return -1;
    }
    const std::vector<ArchiveGame> games = gamesOfFolder(tree, folder);
    std::string bytes;
    switch (format) {
    case ArchiveFormat::serverGames:
        for (const ArchiveGame& game : games)
            bytes += ggf::writeGame(game);
        break;
    case ArchiveFormat::moveText:
        for (const ArchiveGame& game : games)
            bytes += movesToText(game.moves) + "\n";
        break;
    case ArchiveFormat::tournament: {
        const wthor::Files files = wthor::write(games, yearOf(games));
        if (files.tooManyNames) {
            error = "more than 65535 players or tournaments";
            return -1;
        }
        std::filesystem::path beside(path);
        if (!writeFile(beside.replace_extension(".JOU").string(), files.players, error)
            || !writeFile(beside.replace_extension(".TRN").string(), files.tournaments, error))
            return -1;
        bytes = files.games;
        break;
    }
    }
    return writeFile(path, bytes, error) ? static_cast<int>(games.size()) : -1;
}
