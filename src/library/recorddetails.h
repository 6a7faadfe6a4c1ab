#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CollectionTree;
struct GameRecord;

// What the editor's details form holds: everything of a record but its name, folder and moves,
// as the user typed it. Texts are CP932 bytes; numbers stay text until the record is saved, where
// each is read as a decimal number (none reads as 0) and nothing is refused.
struct RecordDetails {
    std::string blackName; // empty: the unknown player
    std::string whiteName;
    std::string blackDiscs;
    std::string whiteDiscs;
    int winner = 0; // the chosen radio button: 1 black, 2 white, anything else a draw
    int endType = -1; // the position of the chosen end type; −1 (none chosen) keeps the record's
    // When the game was played, in local time.
    std::string year;
    std::string month;
    std::string day;
    std::string hour;
    std::string minute;
    std::string second;
    std::string comment; // lines separated by CR LF

    // The form as it opens on a record of the collection: names from the collection's player
    // names, every number written with "%d", the time in local time.
    static RecordDetails of(const CollectionTree& collection, const GameRecord& record);

    // Writes the form into the record, in this order: comment; black player, then white player,
    // found or added in the collection's player names (an empty name is the unknown player), so
    // that two new names are added black first; disc counts; end type; winner; played at.
    void applyTo(CollectionTree& collection, GameRecord& record) const;
};

// A disc count as saved: the number kept to its low 8 bits as a signed byte; below 0 or above 64
// it is 0 (300 gives 44, 65 and −1 give 0).
int8_t discCountOf(std::string_view text);

// The moment of a local date and time, daylight saving as the calendar has it. Fields out of
// range are carried over (month 13 is January of the next year, 30 February is 1 or 2 March);
// −1 when the moment lies outside the records' 32-bit seconds.
int32_t localMoment(
    int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute, int64_t second);
