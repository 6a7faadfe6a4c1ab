#pragma once

#include "capture/followedgame.h"
#include "capture/tablesnapshot.h"
#include "library/libraryoperations.h"

#include <array>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What the capture window of one table knows and decides, apart from its controls: the table it
// belongs to, the names it shows, the game it follows, whether that game has unsaved moves, and
// how many scans have passed without the table. The window shows what this holds and does what
// its answers say.
class TableCapture {
public:
    // Files a finished or interrupted game into the library.
    using Filer = std::function<void(const CapturedGame&)>;
    using Clock = std::function<std::time_t()>;

    // Takes the table and names from the snapshot that found the table and starts following its
    // game from there.
    TableCapture(const TableSnapshot& snapshot, bool autoSave, Filer filer, Clock clock);

    // The table was seen in this scan: true when it is this one, which renews the lifetime.
    bool tableSeen(std::string_view room, int32_t table);

    struct SnapshotResult {
        bool claimed = false; // the snapshot is of this table
        bool bell = false; // the second seat has just been taken and the bell is wanted
        bool movesChanged = false; // the move text and the save button need updating
    };
    // A new reading of some table. A reading of this table updates the names and follows the
    // game; a finished game is filed when auto-save is on; a new game (or a board no move explains,
    // once it is read the same twice in a row) files the old one first.
    SnapshotResult snapshotRead(const TableSnapshot& snapshot, bool bellWanted);

    // The scan is over: true when the table has now been missing for seven scans in a row, after
    // filing the game when auto-save is on. The window then closes.
    bool scanEnded();
    // Capture was turned off: files the game when auto-save is on. The window then closes.
    void captureTurnedOff();

    // Files the game when it has unsaved moves and is known from its first move; true when it was
    // filed. An incomplete game stays unsaved.
    bool save();

    const std::string& room() const { return m_room; }
    const std::string& host() const { return m_host; }
    int32_t table() const { return m_table; }
    const std::string& shownBlackName() const { return m_blackName; }
    const std::string& shownWhiteName() const { return m_whiteName; }
    const FollowedGame& game() const { return m_game; }
    bool unsaved() const { return m_unsaved; }
    bool autoSave() const { return m_autoSave; }
    void setAutoSave(bool on) { m_autoSave = on; }
    int lifetime() const { return m_lifetime; }

private:
    void restart(const TableSnapshot& snapshot);

    std::string m_room;
    std::string m_host;
    int32_t m_table;
    std::string m_blackName;
    std::string m_whiteName;
    FollowedGame m_game;
    // The board of a reading that would have restarted the game. A window read while the client
    // paints it can show a board no move explains; only the same board read twice restarts, so
    // one torn reading does not cost the game its remaining moves.
    std::optional<std::array<uint8_t, 64>> m_restartSeen;
    bool m_unsaved = false;
    bool m_autoSave;
    int m_lifetime = 1;
    Filer m_filer;
    Clock m_clock;
};
