#pragma once

#include <string>

struct GameRecord;

// What the record viewer shows beside the two players: the disc counts and a result word on the
// winner's line, all CP932 bytes.
struct ResultLabels {
    std::string blackDiscs;
    std::string whiteDiscs;
    std::string blackWord;
    std::string whiteWord;
    bool operator==(const ResultLabels&) const = default;
};

// A normal end shows both counts and "勝ち" for the winner (no word for a draw); a loss on time
// or by foul shows "針落勝" or "反則勝" for the winner and no counts ("-"); a resignation, an
// unfinished game or an unknown end type shows neither.
ResultLabels resultLabels(const GameRecord& record);
