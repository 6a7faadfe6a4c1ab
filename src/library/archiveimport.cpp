#include "library/archiveimport.h"

#include "library/collectiontree.h"
#include "records/collectionfile.h"
#include "records/ggffile.h"
#include "records/movetextfile.h"
#include "records/openingbook.h"
#include "records/textlimits.h"
#include "records/wthorfile.h"
#include "text/cp932.h"

#include "library/orderedbatches.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
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

    // The record a game becomes, but for its folder, players and name; touches nothing shared,
    // so games may be prepared on any thread.
    static GameRecord prepare(const ArchiveGame& game, const OpeningBook& book)
    {
        GameRecord record;
        record.winner = game.winner;
        record.endType = game.endType;
        if (game.endType == GameRecord::normalEnd) {
            record.blackDiscs = game.blackDiscs;
            record.whiteDiscs = game.whiteDiscs;
        }
        record.playedAt = game.playedAt;
        normaliseMoves(record, game.moves, book);
        return record;
    }

    void file(const ArchiveGame& game) { file(game, prepare(game, m_book)); }

    void file(const ArchiveGame& game, GameRecord record)
    {
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

// A game read and checked, with the record it becomes once prepared.
struct PreparedGame {
    ArchiveGame game;
    std::optional<GameRecord> record;
};
using PreparedBatch = std::vector<PreparedGame>;

// How an archive is read: in pieces that may be read at the same time, or whole. A piece that
// turns out not to read as it would within the whole file (readPiece answers false) is read again
// with everything after it, in file order, by readFrom; readFrom(0) reads the whole archive.
struct ArchiveReading {
    size_t pieces = 0; // none: the archive is read whole
    std::function<bool(size_t piece, ArchiveReport&, const ArchiveGameSink&)> readPiece;
    std::function<void(size_t piece, ArchiveReport&, const ArchiveGameSink&)> readFrom;
};

// Reads an archive on a second thread while this one files its games, in the file's order:
// replaying and naming openings cost about as much as filing, so the two halves overlap. An
// archive in pieces is read by either thread, a piece at a time (this one reads a piece whenever
// it has nothing to file); one read whole is read on the second thread and handed over in batches
// as it goes. Progress is told and cancelling asked once per batch.
class PipelinedImport {
public:
    static constexpr size_t kPieceGames = 2048;

    PipelinedImport(RecordFiler& filer, const OpeningBook& book, size_t fileBytes,
        const ArchiveProgress& progress, ImportThreads threads)
        : m_filer(filer)
        , m_book(book)
        , m_fileBytes(std::max<size_t>(fileBytes, 1))
        , m_progress(progress)
        , m_threads(threads)
    { }

    // Reads the archive, adding what was read to report. False when cancelled; error says why the
    // import failed.
    bool run(const ArchiveReading& reading, ArchiveReport& report, std::string& error)
    {
        const size_t pieces = reading.pieces;
        const bool whole = pieces == 0;
        if (m_threads == ImportThreads::one)
            return readAndFile(reading, 0, report);
        std::vector<ArchiveReport> reports(whole ? 1 : pieces);
        std::vector<char> trusted(pieces, 0); // each written by the thread that read the piece
        std::atomic<size_t> nextPiece { 0 };
        std::atomic<bool> failed { false };
        if (!whole)
            m_batches.finish(pieces);

        const auto prepared = [&](const ArchiveGame& game) {
            return PreparedGame { game, RecordFiler::prepare(game, m_book) };
        };
        // Reading a whole archive is the longer half there: the thread filing prepares the records.
        const auto unprepared = [&](const ArchiveGame& game) { return PreparedGame { game, {} }; };
        const auto readPiece = [&](size_t piece) {
            PreparedBatch batch = spare();
            trusted[piece] = reading.readPiece(piece, reports[piece], [&](ArchiveGame& game) {
                batch.push_back(prepared(game));
                return true;
            });
            m_batches.put(piece, std::move(batch));
        };
        const auto readWhole = [&] {
            PreparedBatch batch = spare();
            size_t number = 0;
            reading.readFrom(0, reports[0], [&](ArchiveGame& game) {
                batch.push_back(unprepared(game));
                if (batch.size() < kPieceGames)
                    return true;
                if (!m_batches.waitForRoom(number))
                    return false;
                m_batches.put(number++, std::exchange(batch, spare()));
                return true;
            });
            if (!batch.empty() && m_batches.waitForRoom(number))
                m_batches.put(number++, std::move(batch));
            m_batches.finish(number);
        };
        const auto second = [&] {
            try {
                if (whole) {
                    readWhole();
                    return;
                }
                for (size_t piece; (piece = nextPiece++) < pieces;) {
                    if (!m_batches.waitForRoom(piece))
                        break;
                    readPiece(piece);
                }
            } catch (const std::bad_alloc&) {
                failed = true;
                m_batches.stop();
            }
        };

        std::thread worker;
        try {
            worker = std::thread(second);
        } catch (const std::system_error&) {
            return readAndFile(reading, 0, report); // no second thread to be had
        }
        // Whatever leaves this function, the second thread is stopped and waited for first.
        struct Joiner {
            OrderedBatches<PreparedBatch>& batches;
            std::thread& thread;
            ~Joiner()
            {
                batches.stop();
                if (thread.joinable())
                    thread.join();
            }
        } joiner { m_batches, worker };

        bool cancelled = false;
        size_t taken = 0; // batches filed so far, or pieces
        std::optional<size_t> readAgainFrom;
        for (;;) {
            std::optional<PreparedBatch> batch = m_batches.take(false);
            if (!batch) {
                size_t piece = nextPiece.load();
                if (!whole && piece < pieces && m_batches.hasRoom(piece)
                    && nextPiece.compare_exchange_strong(piece, piece + 1)) {
                    readPiece(piece);
                    continue;
                }
                batch = m_batches.take(true);
                if (!batch)
                    break;
            }
            if (!whole && !trusted[taken]) {
                giveBack(std::move(*batch));
                readAgainFrom = taken;
                break;
            }
            ++taken;
            for (PreparedGame& game : *batch) {
                m_filer.file(game.game,
                    game.record ? std::move(*game.record)
                                : RecordFiler::prepare(game.game, m_book));
            }
            const size_t sourceEnd = batch->empty() ? 0 : batch->back().game.sourceEnd;
            giveBack(std::move(*batch));
            if (sourceEnd && !told(sourceEnd)) {
                cancelled = true;
                break;
            }
        }
        m_batches.stop();
        if (worker.joinable())
            worker.join();
        if (failed) {
            error = "out of memory";
            return true;
        }
        for (size_t piece = 0; piece < std::min(reports.size(), readAgainFrom.value_or(SIZE_MAX));
             ++piece) {
            report.filed += reports[piece].filed;
            report.cut += reports[piece].cut;
            report.skipped += reports[piece].skipped;
            for (const std::string& reason : reports[piece].reasons)
                report.note(reason);
        }
        // The pieces read apart stopped matching the file from this one on: the rest is read in
        // one go, here.
        if (readAgainFrom && !cancelled)
            return readAndFile(reading, *readAgainFrom, report);
        return !cancelled;
    }

private:
    // Batches go back and forth between the threads rather than being made afresh: a new batch
    // is fresh memory the system must hand out, and one freed on the other thread costs more.
    PreparedBatch spare()
    {
        PreparedBatch batch;
        {
            std::lock_guard lock(m_spareMutex);
            if (!m_spares.empty()) {
                batch = std::move(m_spares.back());
                m_spares.pop_back();
            }
        }
        batch.reserve(kPieceGames);
        return batch;
    }

    void giveBack(PreparedBatch batch)
    {
        batch.clear();
        std::lock_guard lock(m_spareMutex);
        m_spares.push_back(std::move(batch));
    }

    bool told(size_t sourceEnd) const
    {
        return !m_progress || m_progress(std::min(1.0, double(sourceEnd) / double(m_fileBytes)));
    }

    // Reads and files on this thread alone from a piece on, telling progress every batch's worth
    // of games.
    bool readAndFile(const ArchiveReading& reading, size_t fromPiece, ArchiveReport& report)
    {
        size_t sinceProgress = 0;
        bool cancelled = false;
        reading.readFrom(fromPiece, report, [&](ArchiveGame& game) {
            m_filer.file(game);
            if (++sinceProgress < kPieceGames)
                return true;
            sinceProgress = 0;
            cancelled = !told(game.sourceEnd);
            return !cancelled;
        });
        return !cancelled;
    }

    RecordFiler& m_filer;
    const OpeningBook& m_book;
    const size_t m_fileBytes;
    const ArchiveProgress& m_progress;
    const ImportThreads m_threads;
    OrderedBatches<PreparedBatch> m_batches { 8 };
    std::mutex m_spareMutex;
    std::vector<PreparedBatch> m_spares;
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
    // Read in slices appended to reserved room: resizing first would fill the whole size with
    // zeros only to overwrite them.
    bytes.clear();
    bool failed = false;
    try {
        bytes.reserve(static_cast<size_t>(size));
        std::vector<char> slice(size_t(1) << 20);
        size_t read;
        // A file still growing as it is read stops at the same bound.
        while (bytes.size() <= kMaxFileBytes
            && (read = std::fread(slice.data(), 1, slice.size(), file)) > 0)
            bytes.append(slice.data(), read);
        failed = std::ferror(file) != 0 || bytes.size() > kMaxFileBytes;
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        error = "out of memory";
        return false;
    }
    std::fclose(file);
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
    const std::string& path, const ArchiveProgress& progress, ImportThreads threads)
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
    PipelinedImport pipeline(filer, book, bytes.size(), progress, threads);
    bool stopped = false;
    try {
        // Room for the file's games up front: a large archive then fills the record table without
        // moving it as it grows.
        if (kind == ArchiveKind::tournamentGames && header.boardSize != 10
            && bytes.size() > wthor::kHeaderBytes)
            tree.reserveRecords(static_cast<int>(std::min<size_t>(
                (bytes.size() - wthor::kHeaderBytes) / wthor::kGameBytes, INT32_MAX)));
        else if (kind == ArchiveKind::serverGames)
            tree.reserveRecords(ggf::countGameStarts(bytes));
        const size_t pieceGames = PipelinedImport::kPieceGames;
        ArchiveReading reading;
        std::optional<size_t> held;
        std::vector<std::string> players, tournaments;
        std::vector<ggf::Part> parts;
        switch (kind) {
        case ArchiveKind::tournamentGames:
            held = wthor::checkGameFile(bytes, result.report);
            if (!held)
                break;
            players = namesBeside(file, ".jou", wthor::kPlayerBytes, result.report);
            tournaments = namesBeside(file, ".trn", wthor::kTournamentBytes, result.report);
            // Games have a fixed size: every piece reads as it would within the whole file.
            reading.pieces = (*held + pieceGames - 1) / pieceGames;
            reading.readPiece
                = [&](size_t piece, ArchiveReport& report, const ArchiveGameSink& sink) {
                      const size_t first = piece * pieceGames;
                      wthor::readGameRange(bytes, first, std::min(pieceGames, *held - first),
                          players, tournaments, report, sink);
                      return true;
                  };
            reading.readFrom
                = [&](size_t piece, ArchiveReport& report, const ArchiveGameSink& sink) {
                      const size_t first = std::min(piece * pieceGames, *held);
                      wthor::readGameRange(
                          bytes, first, *held - first, players, tournaments, report, sink);
                  };
            break;
        case ArchiveKind::serverGames:
            parts = ggf::splitIntoParts(bytes, int(pieceGames));
            reading.pieces = parts.size();
            reading.readPiece = [&](size_t piece, ArchiveReport& report,
                                    const ArchiveGameSink& sink) {
                const ggf::PartEnd end = ggf::readPart(bytes, parts[piece], base, report, sink);
                return end.betweenGames && end.gamesStarted == parts[piece].gameStarts;
            };
            reading.readFrom
                = [&](size_t piece, ArchiveReport& report, const ArchiveGameSink& sink) {
                      ggf::Part rest;
                      if (piece < parts.size())
                          rest = ggf::Part { parts[piece].from, std::string_view::npos,
                              parts[piece].firstNumber, 0 };
                      ggf::readPart(bytes, rest, base, report, sink);
                  };
            break;
        default:
            reading.readFrom = [&](size_t, ArchiveReport& report, const ArchiveGameSink& sink) {
                movetext::readGames(bytes, base, report, sink);
            };
            break;
        }
        if (reading.readFrom)
            stopped = !pipeline.run(reading, result.report, result.error);
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
