#include "records/gamerecord.h"

#include "board/orientation.h"
#include "board/othellogame.h"
#include "records/openingbook.h"
#include "text/texts.h"

#include <cstdio>
#include <ctime>

int32_t currentTime()
{
    return static_cast<int32_t>(std::time(nullptr));
}

GameRecord newBlankRecord()
{
    return GameRecord {};
}

GameRecord newNamedRecord(std::string name)
{
    GameRecord record;
    record.name = std::move(name);
    record.playedAt = currentTime();
    return record;
}

GameRecord copyRecord(const GameRecord& source)
{
    GameRecord copy = source;
    copy.folder = -1;
    return copy;
}

GameRecord recordFromGame(const OthelloGame& game, std::string name, const OpeningBook& book)
{
    GameRecord record = newNamedRecord(std::move(name));
    normaliseMoves(record, game.moves(), book);
    return record;
}

void normaliseMoves(GameRecord& record, const MoveList& played, const OpeningBook& book)
{
    const int code = classifyOpening(played);
    record.moves = transform(played, code);
    record.orientation = static_cast<int8_t>(code);
    record.opening = static_cast<int16_t>(book.lookup(record.moves));
}

MoveList playedMoves(const GameRecord& record)
{
    return transform(record.moves, record.orientation);
}

void gameOfRecord(const GameRecord& record, OthelloGame& game)
{
    game.reset();
    game.selectVariant(OthelloBoard::kVariantStandard);
    game.replay(playedMoves(record));
}

std::string resultText(const GameRecord& record)
{
    if (record.winner != GameRecord::blackWins && record.winner != GameRecord::whiteWins) {
        return record.endType == GameRecord::normalEnd ? texts::resultDraw.bytes()
                                                       : texts::resultUnfinished.bytes();
    }
    const std::string& side = record.winner == GameRecord::whiteWins ? texts::whiteSide.bytes()
                                                                     : texts::blackSide.bytes();
    const FixedText* format;
    switch (record.endType) {
    case GameRecord::normalEnd:
        format = &texts::resultScore;
        break;
    case GameRecord::resigned:
        format = &texts::resultResigned;
        break;
    case GameRecord::onTime:
        format = &texts::resultOnTime;
        break;
    case GameRecord::foul:
        format = &texts::resultFoul;
        break;
    default:
        format = &texts::resultWin;
        break;
    }
    char text[64];
    std::snprintf(text, sizeof text, format->bytes().c_str(), side.c_str(), record.blackDiscs,
        record.whiteDiscs);
    return text;
}

void setDeletedNow(GameRecord& record)
{
    record.deletedAt = currentTime();
}
