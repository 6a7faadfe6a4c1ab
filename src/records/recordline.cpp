#include "records/recordline.h"

#include "records/textlimits.h"
#include "text/hexdigit.h"

namespace {

constexpr char kEscape = 0x1B;
constexpr size_t kMaxField = 255;

constexpr char kHexDigits[] = "0123456789ABCDEF";

void putHex(std::string& out, unsigned byte)
{
    out += kHexDigits[(byte >> 4) & 0xF];
    out += kHexDigits[byte & 0xF];
}

void putText(std::string& out, std::string_view text)
{
    const std::string_view carried = clipText(text, kMaxField);
    putHex(out, unsigned(carried.size()));
    out += carried;
}

// Values 0..61 are digits and letters, 62 is '#'. The alphabet has no symbol for 64, a full board
// of one colour: it is written '@', which older readers take as 63 like any unknown character.
char alphabetDigit(int value)
{
    if (value >= 0 && value <= 9)
        return char('0' + value);
    if (value >= 10 && value <= 35)
        return char('A' + value - 10);
    if (value >= 36 && value <= 61)
        return char('a' + value - 36);
    if (value == 62)
        return '#';
    if (value == 64)
        return '@';
    return '$';
}

int alphabetValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 36;
    if (c == '#')
        return 62;
    if (c == '@')
        return 64;
    return 63;
}

// Reads the fields in order; past the end of the line every field is empty or 0.
class LineReader {
public:
    explicit LineReader(std::string_view line)
        : m_line(line)
    { }

    int hexByte()
    {
        if (m_line.size() < 2) {
            m_line = {};
            return 0;
        }
        const int value = hexDigitValue(m_line[0]) << 4 | hexDigitValue(m_line[1]);
        m_line.remove_prefix(2);
        return value;
    }
    int digit()
    {
        if (m_line.empty())
            return 0;
        const int value = alphabetValue(m_line[0]);
        m_line.remove_prefix(1);
        return value;
    }
    std::string_view text(size_t length)
    {
        if (length > m_line.size()) {
            m_line = {};
            return {};
        }
        const std::string_view s = m_line.substr(0, length);
        m_line.remove_prefix(length);
        return s;
    }
    void skip() { text(1); }

private:
    std::string_view m_line;
};

std::string unescapeComment(std::string_view carried)
{
    std::string comment;
    comment.reserve(carried.size());
    for (size_t i = 0; i < carried.size(); ++i) {
        if (carried[i] != kEscape) {
            comment += carried[i];
        } else if (i + 1 < carried.size() && carried[i + 1] == kEscape) {
            comment += "\r\n";
            ++i;
        } else {
            comment += '\n';
        }
    }
    return comment;
}

} // namespace

std::string recordToLine(const GameRecord& record, const PlayerNameTable& names)
{
    std::string line;
    line.reserve(160 + record.name.size() + record.comment.size());
    putText(line, record.name);
    putText(line, names.name(record.blackPlayer));
    putText(line, names.name(record.whitePlayer));
    for (int value :
        { record.blackDiscs, record.whiteDiscs, record.orientation, record.winner, record.endType })
        line += alphabetDigit(value);
    const uint32_t playedAt = uint32_t(record.playedAt);
    for (int shift = 0; shift < 32; shift += 8)
        putHex(line, (playedAt >> shift) & 0xFF);
    for (int i = 0; i < MoveList::kMaxMoves; ++i)
        putHex(line, record.moves.data()[i]);
    line += '0';
    putText(line, record.comment);
    for (char& c : line) {
        if (c == '\r' || c == '\n')
            c = kEscape;
    }
    return line;
}

void recordFromLine(
    std::string_view line, GameRecord& record, PlayerNameTable& names, const OpeningBook& book)
{
    LineReader in(line);
    record.name = in.text(size_t(in.hexByte()));
    record.blackPlayer = int16_t(names.findOrAdd(in.text(size_t(in.hexByte()))));
    record.whitePlayer = int16_t(names.findOrAdd(in.text(size_t(in.hexByte()))));
    record.blackDiscs = int8_t(in.digit());
    record.whiteDiscs = int8_t(in.digit());
    record.orientation = int8_t(in.digit());
    record.winner = int8_t(in.digit());
    record.endType = int8_t(in.digit());
    uint32_t playedAt = 0;
    for (int shift = 0; shift < 32; shift += 8)
        playedAt |= uint32_t(in.hexByte()) << shift;
    record.playedAt = int32_t(playedAt);
    std::string moves(MoveList::kMaxMoves, '\0');
    for (char& square : moves)
        square = char(in.hexByte());
    record.moves = MoveList::fromBytes(moves);
    in.skip();
    record.comment = unescapeComment(in.text(size_t(in.hexByte())));
    record.opening = int16_t(book.lookup(record.moves));
}
