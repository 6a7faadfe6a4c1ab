#include "cliargs.h"
#include "command.h"

#include "library/datadirectorylock.h"

#include "board/othellogame.h"
#include "board/randomgame.h"
#include "records/collectionfile.h"
#include "text/cp932.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <random>

namespace {

// Pieces of generated names and texts, in UTF-8; converted once to CP932.
constexpr const char* kFamilyNames[] = { "佐藤", "鈴木", "高橋", "田中", "伊藤", "渡辺", "山本",
    "中村", "小林", "加藤", "吉田", "山田", "佐々木", "山口", "松本", "井上", "木村", "林", "斎藤",
    "清水", "髙橋", "長谷川" };
constexpr const char* kGivenNames[] = { "健", "翔太", "美咲", "大輔", "陽菜", "蓮", "結衣", "拓海",
    "さくら", "一郎", "ﾀﾛｳ", "由紀子" };
constexpr const char* kHandles[] = { "othello", "reversi", "corner", "edge", "parity", "tiger",
    "rose", "buffalo", "X-square", "stoner" };
constexpr const char* kEvents[]
    = { "名人戦", "王座戦", "練習対局", "オセロ大会", "リーグ戦", "ネット対局", "Open", "Cup" };
constexpr const char* kComments[] = { "序盤で辺を取られた。", "終盤の読み切りに成功", "X打ちが悪手",
    "good game", "定石通りの進行", "偶数理論を意識した" };

class Generator {
public:
    explicit Generator(uint32_t seed)
        : m_rng(seed)
    { }

    // Uniform below n; modulo rather than a distribution, so that a seed gives the same
    // collection with every standard library.
    uint32_t below(uint32_t n) { return n ? uint32_t(m_rng() % n) : 0; }
    bool chance(uint32_t percent) { return below(100) < percent; }
    template <typename T, size_t N> std::string pick(const T (&items)[N])
    {
        return cp932::fromUtf8(items[below(N)]);
    }
    int32_t date() { return int32_t(946684800 + below(789000000)); } // 2000 to 2024
    std::mt19937& rng() { return m_rng; }

private:
    std::mt19937 m_rng;
};

void addFolders(RecordCollection& c, Generator& g, int count)
{
    c.folders.emplace_back(); // the root
    for (int i = 1; i <= count; ++i) {
        RecordFolder f;
        // Each folder under an earlier one, so that the tree nests.
        f.parent = int16_t(g.below(uint32_t(i)));
        char name[64];
        std::snprintf(name, sizeof name, "%s %d", g.pick(kEvents).c_str(), i);
        f.name = name;
        f.created = g.date();
        if (g.chance(5)) {
            f.shareName = "share" + std::to_string(i);
            f.shareComment = g.pick(kComments);
        }
        c.folders[size_t(f.parent)].children.push_back(i);
        c.folders.push_back(std::move(f));
    }
}

void addNames(RecordCollection& c, Generator& g, int count)
{
    while (c.names.size() <= count) {
        std::string name;
        if (g.chance(70))
            name = g.pick(kFamilyNames) + (g.chance(50) ? cp932::fromUtf8("　") : "")
                + g.pick(kGivenNames);
        else
            name = g.pick(kHandles) + std::to_string(g.below(1000));
        c.names.findOrAdd(name);
    }
}

GameRecord makeRecord(
    Generator& g, OthelloGame& game, int serial, int names, const OpeningBook& noBook)
{
    // Some games run to their end, the others stop anywhere.
    const int length = g.chance(40) ? 60 : int(g.below(60));
    game.reset();
    game.selectVariant(OthelloBoard::kVariantStandard);
    game.replay(randomGame(g.rng(), length));
    GameRecord r;
    normaliseMoves(r, game.moves(), noBook);
    r.blackDiscs = int8_t(game.blackCount());
    r.whiteDiscs = int8_t(game.whiteCount());
    if (game.gameOver()) {
        r.endType = GameRecord::normalEnd;
        r.winner = r.blackDiscs > r.whiteDiscs ? GameRecord::blackWins
            : r.blackDiscs < r.whiteDiscs      ? GameRecord::whiteWins
                                               : GameRecord::noWinner;
    } else {
        constexpr int8_t kEnds[] = { GameRecord::unfinished, GameRecord::unfinished,
            GameRecord::resigned, GameRecord::onTime, GameRecord::foul };
        r.endType = kEnds[g.below(5)];
        r.winner = r.endType == GameRecord::unfinished ? int8_t(GameRecord::noWinner)
                                                       : int8_t(1 + g.below(2));
    }
    r.blackPlayer = int16_t(g.chance(10) ? 0 : 1 + g.below(uint32_t(names)));
    r.whitePlayer = int16_t(g.chance(10) ? 0 : 1 + g.below(uint32_t(names)));
    r.playedAt = g.date();
    char name[96];
    switch (g.below(3)) {
    case 0: {
        // In UTC, so that the file does not depend on the machine's time zone.
        const time_t t = r.playedAt;
        std::tm local {};
        gmtime_r(&t, &local);
        std::snprintf(name, sizeof name, "%04d/%02d/%02d %02d:%02d #%d", local.tm_year + 1900,
            local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, serial);
        break;
    }
    case 1:
        std::snprintf(name, sizeof name, "%s %d", g.pick(kEvents).c_str(), serial);
        break;
    default:
        std::snprintf(name, sizeof name, "game%d", serial);
        break;
    }
    r.name = name;
    if (g.chance(15)) {
        r.comment = g.pick(kComments);
        if (g.chance(30))
            r.comment += "\r\n" + g.pick(kComments);
    }
    return r;
}

bool readCount(std::string_view text, uint32_t& value)
{
    const auto [end, error] = std::from_chars(text.begin(), text.end(), value);
    return error == std::errc() && end == text.end();
}

// Writes a collection of random legal games for benchmarks and tests; the same seed always gives
// the same file.
int runGen(std::span<char* const> argv)
{
    std::vector<std::string_view> args = argumentList(argv);
    uint32_t records = 0;
    uint32_t seed = 1;
    uint32_t folders = 20;
    const bool ok = readCount(takeOption(args, "--records", "x"), records)
        && readCount(takeOption(args, "--seed", "1"), seed)
        && readCount(takeOption(args, "--folders", "20"), folders) && folders < 32767
        && args.size() == 1;
    if (!ok) {
        std::fputs("usage: pavione-cli gen --records N [--seed S] [--folders F] OUT\n", stderr);
        return 2;
    }
    Generator g(seed);
    RecordCollection c;
    addFolders(c, g, int(folders));
    addNames(c, g, 300);
    const OpeningBook noBook;
    OthelloGame game; // one for all: a game's history is large to make afresh
    c.records.reserve(records);
    for (uint32_t i = 0; i < records; ++i) {
        GameRecord r = makeRecord(g, game, int(i + 1), c.names.size() - 1, noBook);
        r.folder = int16_t(g.below(uint32_t(c.folders.size())));
        c.folders[size_t(r.folder)].records.push_back(int(i));
        c.records.push_back(std::move(r));
    }
    const std::string out(args[0]);
    DataDirectoryLock lock;
    if (!lockDirectoryOf(out, lock))
        return 1;
    if (saveCollection(out, c) != 0) {
        std::fprintf(stderr, "pavione-cli: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

const CommandRegistration registration { { "gen",
    "gen --records N [--seed S] [--folders F] OUT  a collection of random games", &runGen } };

} // namespace
