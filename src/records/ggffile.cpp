#include "records/ggffile.h"

#include "board/bitposition.h"
#include "board/notation.h"
#include "board/squares.h"
#include "text/cp932.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace ggf {
namespace {

constexpr std::string_view kGameStart = "(;";
constexpr std::string_view kStandardStart
    = "8 -------- -------- -------- ---O*--- ---*O--- -------- -------- -------- *";

std::string_view trimmed(std::string_view s)
{
    while (!s.empty()
        && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r' || s.front() == '\n'))
        s.remove_prefix(1);
    while (
        !s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

// The value of one property with its escapes undone; pos is left past the closing bracket.
// False when the text ends before the bracket closes.
bool readValue(std::string_view text, size_t& pos, std::string& value)
{
    value.clear();
    ++pos;
    // Copies the runs between escapes whole rather than a character at a time.
    for (;;) {
        size_t stop = pos;
        while (stop < text.size() && text[stop] != ']' && text[stop] != '\\')
            ++stop;
        value.append(text.substr(pos, stop - pos));
        pos = stop;
        if (pos == text.size())
            return false;
        ++pos;
        if (text[stop] == ']')
            return true;
        // An escape: the next character stands for itself; a backslash that ends the text is
        // kept as it is.
        if (pos < text.size())
            value += text[pos++];
        else
            value += '\\';
    }
}

std::string nameOf(std::string_view raw)
{
    const std::string_view name = trimmed(raw);
    return cp932::isUtf8(name) ? cp932::fromUtf8Transliterated(name)
                               : cp932::fromLatin1Transliterated(name);
}

// Days from 1970-01-01 to the date (proleptic Gregorian); a day past the month's end runs on into
// the next month, as timegm counts it.
int64_t daysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return int64_t(era) * 146097 + dayOfEra - 719468;
}

// The fields of "yyyy.mm.dd_hh:mm:ss" followed by anything but a digit, the way servers write
// dates; false for any other text.
bool readPlainDate(std::string_view text, int (&fields)[6])
{
    static constexpr std::string_view kPattern = "dddd.dd.dd_dd:dd:dd";
    if (text.size() < kPattern.size()
        || (text.size() > kPattern.size() && text[kPattern.size()] >= '0'
            && text[kPattern.size()] <= '9'))
        return false;
    int field = 0;
    int value = 0;
    for (size_t i = 0; i < kPattern.size(); ++i) {
        const char c = text[i];
        if (kPattern[i] == 'd') {
            if (c < '0' || c > '9')
                return false;
            value = value * 10 + (c - '0');
        } else {
            if (c != kPattern[i])
                return false;
            fields[field++] = value;
            value = 0;
        }
    }
    fields[field] = value;
    return true;
}

// "2003.12.15_13:24:27.MET" (zone ignored) or seconds since 1970; 0 when neither.
int32_t dateOf(std::string_view value)
{
    const std::string_view trimmedValue = trimmed(value);
    int f[6] = { 0, 0, 0, 0, 0, 0 };
    bool read = readPlainDate(trimmedValue, f);
    const std::string text(read ? std::string_view() : trimmedValue);
    if (!read)
        read = std::sscanf(
                   text.c_str(), "%d.%d.%d_%d:%d:%d", &f[0], &f[1], &f[2], &f[3], &f[4], &f[5])
            >= 3;
    if (read) {
        const auto [y, mo, d, h, mi, s] = f;
        if (y < 1970 || y > 2037 || mo < 1 || mo > 12 || d < 1 || d > 31)
            return 0;
        const int64_t seconds
            = daysFromCivil(y, mo, d) * 86400 + int64_t(h) * 3600 + int64_t(mi) * 60 + s;
        return seconds < 0 || seconds > INT32_MAX ? 0 : static_cast<int32_t>(seconds);
    }
    char* end = nullptr;
    const long long seconds = std::strtoll(text.c_str(), &end, 10);
    if (end && *end == '\0' && !text.empty() && seconds > 0 && seconds <= INT32_MAX)
        return static_cast<int32_t>(seconds);
    return 0;
}

void readResult(std::string_view value, ArchiveGame& game)
{
    const std::string text(trimmed(value));
    char* end = nullptr;
    const double margin = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(margin)) {
        game.winner = 0;
        game.endType = 3; // "?" and anything unreadable: no known result
        return;
    }
    const std::string_view how(end);
    game.winner = margin > 0 ? 1 : margin < 0 ? 2 : 0;
    if (how.starts_with(":r")) {
        game.endType = 1;
    } else if (how.starts_with(":t")) {
        game.endType = 2;
    } else {
        game.endType = 0;
        const int black = static_cast<int>(std::lround(std::clamp((64 + margin) / 2, 0.0, 64.0)));
        game.blackDiscs = static_cast<int8_t>(black);
        game.whiteDiscs = static_cast<int8_t>(64 - black);
    }
}

// The framed square of two characters such as "d3" or "D3"; 0 for anything else.
int squareOf(std::string_view text)
{
    if (text.size() != 2)
        return 0;
    const int column = (text[0] | 0x20) - 'a';
    const int row = text[1] - '1';
    if (column < 0 || column > 7 || row < 0 || row > 7)
        return 0;
    return board::squareAt(row, column);
}

// True when the two texts are equal once blanks are left out of both.
bool equalWithoutBlanks(std::string_view a, std::string_view b)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t i = 0, j = 0;
    for (;;) {
        while (i < a.size() && blank(a[i]))
            ++i;
        while (j < b.size() && blank(b[j]))
            ++j;
        if (i == a.size() || j == b.size())
            return i == a.size() && j == b.size();
        if (a[i++] != b[j++])
            return false;
    }
}

struct GameReader {
    ArchiveGame game;
    BitPosition position = BitPosition::start();
    std::array<char, MoveList::kMaxMoves> played {};
    size_t count = 0;
    bool othello = false;
    bool standardType = false;
    bool standardStart = true;

    // A move or pass by colour; false (and the game cut) when it is not legal.
    void move(int colour, std::string_view value)
    {
        if (game.cut)
            return;
        std::string_view square = trimmed(value.substr(0, value.find('/')));
        if (square.size() >= 2 && (square[0] == 'P' || square[0] == 'p')
            && (square[1] == 'A' || square[1] == 'a')) {
            // A pass is legal only for a side with no move.
            if (colour != position.toMove || position.legalMovesFor(colour))
                game.cut = true;
            else
                position.toMove = colour == board::kBlack ? board::kWhite : board::kBlack;
            return;
        }
        const int at = squareOf(square);
        // A move by the side not to move stands for an unwritten pass of the other.
        if (at != 0 && colour != position.toMove && !position.legalMovesFor(position.toMove))
            position.toMove = colour;
        if (at == 0 || colour != position.toMove || count == played.size() || !position.play(at)) {
            game.cut = true;
            return;
        }
        played[count++] = static_cast<char>(at);
    }
};

} // namespace

int countGameStarts(std::string_view text)
{
    int count = 0;
    for (size_t pos = 0; (pos = text.find(kGameStart, pos)) != std::string_view::npos;
         pos += kGameStart.size())
        ++count;
    return count;
}

bool looksLikeGgf(std::string_view text)
{
    text = trimmed(text.substr(0, 4096));
    return text.starts_with(kGameStart)
        && text.substr(0, 4096).find("GM[Othello]") != std::string_view::npos;
}

PartEnd readPart(std::string_view text, const Part& part, const std::string& nameBase,
    ArchiveReport& report, const ArchiveGameSink& sink)
{
    // The part's reading never looks past its end; positions stay those of the whole text.
    text = text.substr(0, part.to);
    PartEnd end;
    std::string value;
    int number = part.firstNumber - 1;
    size_t pos = part.from;
    while ((pos = text.find(kGameStart, pos)) != std::string_view::npos) {
        ++number;
        ++end.gamesStarted;
        pos += kGameStart.size();
        GameReader r;
        bool closed = false;
        bool broken = false;
        while (pos < text.size()) {
            const char c = text[pos];
            if (c == ';' && pos + 1 < text.size() && text[pos + 1] == ')') {
                pos += 2;
                closed = true;
                break;
            }
            if (c == '(' && text.substr(pos, 2) == kGameStart)
                break; // the next game starts: this one never closed
            if (!(c >= 'A' && c <= 'Z')) {
                ++pos;
                continue;
            }
            const size_t nameStart = pos;
            while (pos < text.size() && text[pos] >= 'A' && text[pos] <= 'Z')
                ++pos;
            const std::string_view name = text.substr(nameStart, pos - nameStart);
            if (pos >= text.size() || text[pos] != '[')
                continue;
            if (!readValue(text, pos, value)) {
                broken = true;
                break;
            }
            if (name == "GM")
                r.othello = trimmed(value) == "Othello";
            else if (name == "TY")
                r.standardType = trimmed(value) == "8";
            else if (name == "BO")
                r.standardStart = equalWithoutBlanks(value, kStandardStart);
            else if (name == "PB")
                r.game.black = nameOf(value);
            else if (name == "PW")
                r.game.white = nameOf(value);
            else if (name == "DT")
                r.game.playedAt = dateOf(value);
            else if (name == "RE")
                readResult(value, r.game);
            else if (name == "B")
                r.move(board::kBlack, value);
            else if (name == "W")
                r.move(board::kWhite, value);
        }
        const std::string which = "game " + std::to_string(number);
        if (!closed || broken) {
            ++report.skipped;
            report.note(which + ": brackets not closed");
            // A game that runs to the end of the part may go on in the text after it.
            if (pos >= text.size() || broken)
                end.betweenGames = false;
            if (broken)
                break;
            continue;
        }
        if (!r.othello || !r.standardType || !r.standardStart) {
            ++report.skipped;
            report.note(which
                + (r.othello ? ": not an 8 × 8 game from the usual start"
                             : ": not an Othello game"));
            continue;
        }
        r.game.moves = MoveList::fromBytes(std::string_view(r.played.data(), r.count));
        r.game.name = nameBase + " #" + std::to_string(number);
        r.game.sourceEnd = pos;
        ++report.filed;
        if (r.game.cut) {
            ++report.cut;
            report.note(which + ": moves stop being legal at move "
                + std::to_string(r.game.moves.size() + 1));
        }
        if (!sink(r.game)) {
            end.stopped = true;
            return end;
        }
    }
    return end;
}

bool readGames(std::string_view text, const std::string& nameBase, ArchiveReport& report,
    const ArchiveGameSink& sink)
{
    return !readPart(text, Part {}, nameBase, report, sink).stopped;
}

std::vector<Part> splitIntoParts(std::string_view text, int gamesPerPart)
{
    std::vector<Part> parts;
    int started = 0;
    for (size_t pos = 0; (pos = text.find(kGameStart, pos)) != std::string_view::npos;
         pos += kGameStart.size()) {
        if (started % gamesPerPart == 0) {
            if (!parts.empty())
                parts.back().to = pos;
            parts.push_back(Part { pos, std::string_view::npos, started + 1, 0 });
        }
        ++parts.back().gameStarts;
        ++started;
    }
    return parts;
}

namespace {

void appendValue(std::string& out, std::string_view value)
{
    for (char c : value) {
        if (c == ']' || c == '\\')
            out += '\\';
        out += c;
    }
}

std::string resultValue(const ArchiveGame& game)
{
    char buffer[32];
    switch (game.endType) {
    case 0:
        std::snprintf(buffer, sizeof buffer, "%+.3f", double(game.blackDiscs - game.whiteDiscs));
        return game.blackDiscs == game.whiteDiscs ? "0.000" : buffer;
    case 1:
    case 2:
        if (game.winner == 0)
            return "?";
        return std::string(game.winner == 1 ? "+64.000" : "-64.000")
            + (game.endType == 1 ? ":r" : ":t");
    default:
        return "?";
    }
}

} // namespace

std::string writeGame(const ArchiveGame& game)
{
    std::string out = "(;GM[Othello]PC[Pavione]";
    if (game.playedAt > 0) {
        const std::time_t seconds = game.playedAt;
        std::tm t {};
        gmtime_r(&seconds, &t);
        char date[64];
        std::snprintf(date, sizeof date, "DT[%04d.%02d.%02d_%02d:%02d:%02d.UTC]", t.tm_year + 1900,
            t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
        out += date;
    }
    out += "PB[";
    appendValue(out, cp932::toUtf8(game.black));
    out += "]PW[";
    appendValue(out, cp932::toUtf8(game.white));
    out += "]TY[8]RE[" + resultValue(game) + "]BO[";
    out += kStandardStart;
    out += "]";
    BitPosition position = BitPosition::start();
    for (int square : game.moves) {
        if (!position.legalMovesFor(position.toMove)) {
            out += position.toMove == board::kBlack ? "B[PA]" : "W[PA]";
        }
        const int colour = position.legalMovesFor(position.toMove) ? position.toMove
            : position.toMove == board::kBlack                     ? board::kWhite
                                                                   : board::kBlack;
        if (!position.play(square))
            break;
        out += colour == board::kBlack ? "B[" : "W[";
        out += movesToText(MoveList::fromBytes(std::string(1, static_cast<char>(square))));
        out += "]";
    }
    out += ";)\n";
    return out;
}

} // namespace ggf
