#include "records/ggffile.h"
#include "records/movetextfile.h"
#include "records/wthorfile.h"

#include "board/bitposition.h"
#include "board/notation.h"
#include "board/randomgame.h"
#include "board/squares.h"
#include "buildpaths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

namespace {

std::string fixture(const std::string& name)
{
    std::ifstream in(std::string(PAVIONE_TEST_DATA_DIR) + "/archives/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// One line of expected.txt, written by the fixtures' own generator.
struct Expected {
    std::string moves, black, whiteTournament, whiteServer;
    int score = 0;
    std::string tournament;
};

std::vector<Expected> expectedGames()
{
    std::vector<Expected> out;
    std::istringstream in(fixture("expected.txt"));
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '|');)
            f.push_back(field);
        f.resize(6);
        out.push_back({ f[0], f[1], f[2], f[3], std::stoi(f[4]), f[5] });
    }
    return out;
}

std::vector<ArchiveGame> collect(
    const std::function<bool(ArchiveReport&, const ArchiveGameSink&)>& read, ArchiveReport& report)
{
    std::vector<ArchiveGame> games;
    read(report, [&](ArchiveGame& g) {
        games.push_back(g);
        return true;
    });
    return games;
}

std::string header(uint32_t games, uint16_t names, uint16_t year)
{
    wthor::Header h;
    h.createdYear = 2024;
    h.createdMonth = 1;
    h.createdDay = 2;
    h.games = games;
    h.names = names;
    h.year = year;
    return wthor::writeHeader(h);
}

// A 68-byte game of the tournament archive.
std::string wthorGame(int tournament, int black, int white, int score, std::string_view moves)
{
    std::string g;
    for (int v : { tournament, black, white }) {
        g += char(v & 0xFF);
        g += char(v >> 8);
    }
    g += char(score);
    g += char(score);
    const MoveList list = textToMoves(moves);
    for (int square : list)
        g += char(wthor::byteOfSquare(square));
    g.resize(wthor::kGameBytes, '\0');
    return g;
}

} // namespace

TEST(ArchiveFiles, ReadWhatAnIndependentWriterWrote)
{
    const std::vector<Expected> expected = expectedGames();
    ASSERT_GE(expected.size(), 24u);
    const auto players = wthor::readNames(fixture("WTHOR.JOU"), wthor::kPlayerBytes);
    const auto tournaments = wthor::readNames(fixture("WTHOR.TRN"), wthor::kTournamentBytes);
    ASSERT_EQ(players.size(), 5u);

    ArchiveReport wr, gr, tr;
    const std::string wtb = fixture("games.wtb");
    const auto fromWthor = collect(
        [&](ArchiveReport& r, const ArchiveGameSink& s) {
            return wthor::readGames(wtb, players, tournaments, r, s);
        },
        wr);
    const std::string ggfText = fixture("games.ggf");
    const auto fromGgf
        = collect([&](ArchiveReport& r,
                      const ArchiveGameSink& s) { return ggf::readGames(ggfText, "games", r, s); },
            gr);
    const std::string text = fixture("games.txt");
    const auto fromText = collect(
        [&](ArchiveReport& r, const ArchiveGameSink& s) {
            return movetext::readGames(text, "games", r, s);
        },
        tr);

    ASSERT_EQ(fromWthor.size(), expected.size());
    ASSERT_EQ(fromGgf.size(), expected.size());
    ASSERT_EQ(fromText.size(), expected.size());
    EXPECT_EQ(wr.cut + wr.skipped + gr.cut + tr.cut + tr.skipped, 0);
    EXPECT_EQ(gr.skipped, 2); // a 10 × 10 game and one from a random start
    for (size_t i = 0; i < expected.size(); ++i) {
        const Expected& e = expected[i];
        SCOPED_TRACE("game " + std::to_string(i + 1));
        EXPECT_EQ(movesToText(fromWthor[i].moves), e.moves);
        EXPECT_EQ(movesToText(fromGgf[i].moves), e.moves);
        EXPECT_EQ(movesToText(fromText[i].moves), e.moves);
        EXPECT_EQ(fromWthor[i].black, e.black);
        EXPECT_EQ(fromWthor[i].white, e.whiteTournament);
        EXPECT_EQ(fromGgf[i].black, e.black);
        EXPECT_EQ(fromGgf[i].white, e.whiteServer);
        EXPECT_EQ(fromWthor[i].group, e.tournament);
        for (const ArchiveGame* g : { &fromWthor[i], &fromGgf[i] }) {
            EXPECT_EQ(g->endType, 0);
            EXPECT_EQ(g->blackDiscs, e.score);
            EXPECT_EQ(g->whiteDiscs, 64 - e.score);
            EXPECT_EQ(g->winner, e.score > 32 ? 1 : e.score < 32 ? 2 : 0);
        }
        EXPECT_EQ(fromWthor[i].playedAt, startOfYear(2001));
    }
}

TEST(ArchiveFiles, DamagedTournamentFilesKeepWhatIsLegal)
{
    const std::vector<std::string> players { "A", "B" };
    const std::string good = wthorGame(0, 0, 1, 40, "F5D6C3D3C4");
    struct Case {
        const char* what;
        std::string bytes;
        bool read;
        int filed, cut, skipped;
        std::string firstMoves, white;
    };
    const std::vector<Case> cases {
        { "whole", header(1, 0, 1990) + good, true, 1, 0, 0, "F5D6C3D3C4", "B" },
        { "cut inside the second game", header(2, 0, 1990) + good + good.substr(0, 30), true, 1, 0,
            0, "F5D6C3D3C4", "B" },
        { "header counts more", header(9, 0, 1990) + good + good, true, 2, 0, 0, "F5D6C3D3C4",
            "B" },
        { "illegal third move", header(1, 0, 1990) + wthorGame(0, 0, 1, 40, "F5D6A1C3"), true, 1, 1,
            0, "F5D6", "B" },
        { "player out of range", header(1, 0, 1990) + wthorGame(0, 0, 700, 40, "F5"), true, 1, 0, 0,
            "F5", "" },
        { "score beyond 64", header(1, 0, 1990) + wthorGame(0, 0, 1, 99, "F5"), true, 1, 0, 0, "F5",
            "B" },
        { "shorter than a header", std::string("\x14\x01", 2), false, 0, 0, 0, "", "" },
        { "a names file", header(0, 1, 0) + std::string(20, 'x'), false, 0, 0, 0, "", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ArchiveReport report;
        const auto games = collect(
            [&](ArchiveReport& r, const ArchiveGameSink& s) {
                return wthor::readGames(c.bytes, players, {}, r, s);
            },
            report);
        EXPECT_EQ(!games.empty() || c.filed == 0, true);
        EXPECT_EQ(report.filed, c.filed);
        EXPECT_EQ(report.cut, c.cut);
        EXPECT_EQ(report.skipped, c.skipped);
        if (!games.empty()) {
            EXPECT_EQ(movesToText(games[0].moves), c.firstMoves);
            EXPECT_EQ(games[0].white, c.white);
        }
        if (!c.read) {
            EXPECT_FALSE(report.reasons.empty());
        }
    }
    // A move byte that names no square stops the game there.
    std::string odd = wthorGame(0, 0, 1, 40, "F5D6");
    odd[9] = char(99);
    ArchiveReport report;
    const auto games = collect(
        [&](ArchiveReport& r, const ArchiveGameSink& s) {
            return wthor::readGames(header(1, 0, 0) + odd, players, {}, r, s);
        },
        report);
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(movesToText(games[0].moves), "F5");
    EXPECT_EQ(report.cut, 1);
    EXPECT_EQ(games[0].playedAt, 0); // year 0 has no date
    EXPECT_EQ(games[0].endType, 0);
}

TEST(ArchiveFiles, ServerGamesAreReadOrSkippedWithAReason)
{
    const std::string bo
        = "BO[8 -------- -------- -------- ---O*--- ---*O--- -------- -------- -------- *]";
    struct Case {
        const char* what;
        std::string text;
        int filed, cut, skipped;
        std::string moves;
        int endType, winner;
    };
    const std::vector<Case> cases {
        { "plain", "(;GM[Othello]TY[8]RE[+4.000]" + bo + "B[f5//1.0]W[d6];)", 1, 0, 0, "F5D6", 0,
            1 },
        { "unknown properties and escapes",
            "(;GM[Othello]XX[a\\]b]TY[8]RE[-2]QQ[]" + bo + "B[F5]W[f6/1/2]B[e6];)", 1, 0, 0,
            "F5F6E6", 0, 2 },
        { "resigned", "(;GM[Othello]TY[8]RE[-64.000:r]" + bo + "B[f5];)", 1, 0, 0, "F5", 1, 2 },
        { "on time", "(;GM[Othello]TY[8]RE[+1:t]" + bo + "B[f5];)", 1, 0, 0, "F5", 2, 1 },
        { "no result", "(;GM[Othello]TY[8]RE[?]" + bo + "B[f5];)", 1, 0, 0, "F5", 3, 0 },
        { "illegal move", "(;GM[Othello]TY[8]RE[0]" + bo + "B[f5]W[a1]B[c3];)", 1, 1, 0, "F5", 0,
            0 },
        { "pass when a move exists", "(;GM[Othello]TY[8]" + bo + "B[f5]W[PA]B[c3];)", 1, 1, 0, "F5",
            3, 0 },
        { "move by the wrong side", "(;GM[Othello]TY[8]" + bo + "B[f5]B[f4];)", 1, 1, 0, "F5", 3,
            0 },
        { "unclosed game then a good one",
            "(;GM[Othello]TY[8]B[f5](;GM[Othello]TY[8]" + bo + "B[f5];)", 1, 0, 1, "F5", 3, 0 },
        { "unclosed bracket", "(;GM[Othello]TY[8]B[f5", 0, 0, 1, "", 0, 0 },
        { "other board", "(;GM[Othello]TY[10]B[f5];)", 0, 0, 1, "", 0, 0 },
        { "other start", "(;GM[Othello]TY[8]BO[8 ---]B[f5];)", 0, 0, 1, "", 0, 0 },
        { "other game", "(;GM[Go]TY[8]B[f5];)", 0, 0, 1, "", 0, 0 },
        { "garbage", "((;;)]][[", 0, 0, 1, "", 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ArchiveReport report;
        const auto games
            = collect([&](ArchiveReport& r,
                          const ArchiveGameSink& s) { return ggf::readGames(c.text, "g", r, s); },
                report);
        EXPECT_EQ(report.filed, c.filed);
        EXPECT_EQ(report.cut, c.cut);
        EXPECT_EQ(report.skipped, c.skipped);
        EXPECT_EQ(report.reasons.size(), size_t(c.cut + c.skipped));
        if (c.filed) {
            ASSERT_EQ(games.size(), 1u);
            EXPECT_EQ(movesToText(games[0].moves), c.moves);
            EXPECT_EQ(games[0].endType, c.endType);
            EXPECT_EQ(games[0].winner, c.winner);
        }
    }
}

TEST(ArchiveFiles, MoveTextLines)
{
    ArchiveReport report;
    const auto games = collect(
        [&](ArchiveReport& r, const ArchiveGameSink& s) {
            return movetext::readGames("f5d6c3\r\n\r\n  F5D6 34-30\nhello\nF5D6A1C3\n", "t", r, s);
        },
        report);
    ASSERT_EQ(games.size(), 3u);
    EXPECT_EQ(movesToText(games[0].moves), "F5D6C3");
    EXPECT_EQ(movesToText(games[1].moves), "F5D6");
    EXPECT_EQ(movesToText(games[2].moves), "F5D6");
    EXPECT_TRUE(games[2].cut);
    EXPECT_EQ(games[0].name, "t #1");
    EXPECT_EQ(report.filed, 3);
    EXPECT_EQ(report.cut, 1);
    EXPECT_EQ(report.skipped, 1);
}

TEST(ArchiveFiles, WrittenArchivesReadBack)
{
    std::vector<ArchiveGame> games;
    const char* lines[] = { "F5D6C3D3C4F4F6F3E6E7", "E6F4", "C4C3D3C5B3" };
    for (int i = 0; i < 3; ++i) {
        ArchiveGame g;
        g.black = "Black" + std::to_string(i);
        g.white = i == 1 ? std::string() : "White";
        g.moves = textToMoves(lines[i]);
        g.group = i == 2 ? "Cup" : "League";
        setResultFromBlackScore(g, 20 + 10 * i);
        games.push_back(g);
    }
    // Whole random games, among them some with a pass, which each format writes its own way.
    std::mt19937 rng(3);
    int withPass = 0;
    while (withPass < 2) {
        ArchiveGame g;
        g.moves = randomGame(rng);
        g.black = "Random";
        setResultFromBlackScore(g, int(rng() % 65));
        BitPosition p = BitPosition::start();
        bool passed = false;
        for (int square : g.moves) {
            const int before = p.toMove;
            p.passIfStuck();
            passed |= p.toMove != before;
            p.play(square);
        }
        if (passed || games.size() < 6) {
            withPass += passed;
            games.push_back(g);
        }
    }
    const wthor::Files files = wthor::write(games, 1999);
    ArchiveReport wr;
    const auto players = wthor::readNames(files.players, wthor::kPlayerBytes);
    const auto tournaments = wthor::readNames(files.tournaments, wthor::kTournamentBytes);
    const auto fromWthor = collect(
        [&](ArchiveReport& r, const ArchiveGameSink& s) {
            return wthor::readGames(files.games, players, tournaments, r, s);
        },
        wr);
    std::string ggfText, text;
    for (const ArchiveGame& g : games) {
        ggfText += ggf::writeGame(g);
        text += movesToText(g.moves) + "\n";
    }
    ArchiveReport gr, tr;
    const auto fromGgf
        = collect([&](ArchiveReport& r,
                      const ArchiveGameSink& s) { return ggf::readGames(ggfText, "g", r, s); },
            gr);
    const auto fromText
        = collect([&](ArchiveReport& r,
                      const ArchiveGameSink& s) { return movetext::readGames(text, "t", r, s); },
            tr);
    ASSERT_EQ(fromWthor.size(), games.size());
    ASSERT_EQ(fromGgf.size(), games.size());
    ASSERT_EQ(fromText.size(), games.size());
    for (size_t i = 0; i < games.size(); ++i) {
        SCOPED_TRACE(i);
        for (const auto* read : { &fromWthor, &fromGgf, &fromText })
            EXPECT_EQ((*read)[i].moves, games[i].moves);
        for (const auto* read : { &fromWthor, &fromGgf }) {
            EXPECT_EQ((*read)[i].black, games[i].black);
            EXPECT_EQ((*read)[i].white, games[i].white);
            EXPECT_EQ((*read)[i].winner, games[i].winner);
            EXPECT_EQ((*read)[i].blackDiscs, games[i].blackDiscs);
            EXPECT_EQ((*read)[i].endType, games[i].endType);
        }
        EXPECT_EQ(fromWthor[i].group, games[i].group.empty() ? "Pavione" : games[i].group);
        EXPECT_EQ(fromWthor[i].playedAt, startOfYear(1999));
    }
    EXPECT_EQ(wr.cut + gr.cut + tr.cut + wr.skipped + gr.skipped + tr.skipped, 0);
}
