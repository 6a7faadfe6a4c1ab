#include "viewer/resultlabels.h"

#include "records/gamerecord.h"
#include "text/texts.h"

ResultLabels resultLabels(const GameRecord& record)
{
    ResultLabels labels { texts::viewerNoDiscCount, texts::viewerNoDiscCount, {}, {} };
    const std::string* word = nullptr;
    switch (record.endType) {
    case GameRecord::normalEnd:
        labels.blackDiscs = std::to_string(record.blackDiscs);
        labels.whiteDiscs = std::to_string(record.whiteDiscs);
        word = &texts::viewerWin.bytes();
        break;
    case GameRecord::onTime:
        word = &texts::viewerWinOnTime.bytes();
        break;
    case GameRecord::foul:
        word = &texts::viewerWinByFoul.bytes();
        break;
    default:
        return labels;
    }
    if (record.winner == GameRecord::blackWins)
        labels.blackWord = *word;
    else if (record.winner == GameRecord::whiteWins)
        labels.whiteWord = *word;
    return labels;
}
