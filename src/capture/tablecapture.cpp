#include "capture/tablecapture.h"

#include <utility>

namespace {

// Scans a capture survives without its table: the lifetime goes from 1 down to -6, and the window
// closes on the seventh scan in a row that missed it (some 1.4 seconds).
constexpr int kLastLifetime = -6;

} // namespace

TableCapture::TableCapture(const TableSnapshot& snapshot, bool autoSave, Filer filer, Clock clock)
    : m_room(snapshot.room)
    , m_host(snapshot.host)
    , m_table(snapshot.table)
    , m_blackName(snapshot.blackName)
    , m_whiteName(snapshot.whiteName)
    , m_autoSave(autoSave)
    , m_filer(std::move(filer))
    , m_clock(std::move(clock))
{
    restart(snapshot);
}

bool TableCapture::tableSeen(std::string_view room, int32_t table)
{
    if (room == m_room && table == m_table)
        m_lifetime = 1;
    return true;
}

TableCapture::SnapshotResult TableCapture::snapshotRead(
    const TableSnapshot& snapshot, bool bellWanted)
{
    SnapshotResult result;
    if (snapshot.room != m_room || snapshot.table != m_table)
        return result;
    result.claimed = true;

    const bool seatWasEmpty = m_blackName.empty() || m_whiteName.empty();
    m_blackName = snapshot.blackName;
    m_whiteName = snapshot.whiteName;
    result.bell = seatWasEmpty && !m_blackName.empty() && !m_whiteName.empty() && bellWanted;

    const FollowedGame::Step step = m_game.follow(snapshot);
    if (step != FollowedGame::Step::restart) {
        m_restartSeen.reset();
    } else if (m_restartSeen != snapshot.cells) {
        m_restartSeen = snapshot.cells;
        return result;
    }
    switch (step) {
    case FollowedGame::Step::movesInferred:
        m_unsaved = true;
        if (m_game.over() && m_autoSave)
            save();
        result.movesChanged = true;
        break;
    case FollowedGame::Step::restart:
        restart(snapshot);
        result.movesChanged = true;
        break;
    case FollowedGame::Step::noChange:
        break;
    }
    return result;
}

bool TableCapture::scanEnded()
{
    --m_lifetime;
    if (m_lifetime >= kLastLifetime)
        return false;
    if (m_autoSave)
        save();
    return true;
}

void TableCapture::captureTurnedOff()
{
    if (m_autoSave)
        save();
}

bool TableCapture::save()
{
    if (!m_unsaved || !m_game.complete())
        return false;
    if (m_filer)
        m_filer(m_game.record(m_clock ? m_clock() : std::time(nullptr)));
    m_unsaved = false;
    return true;
}

void TableCapture::restart(const TableSnapshot& snapshot)
{
    m_restartSeen.reset();
    // An old game that could not be filed keeps the unsaved flag, as the save button shows.
    save();
    m_game.restart(snapshot);
}
