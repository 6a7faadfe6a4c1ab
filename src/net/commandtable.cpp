#include "net/commandtable.h"

#include "net/messageid.h"

#include <array>

namespace {

constexpr std::array<CommandEntry, 37> table { {
    { "ALLUSER", IdAllUser },
    { "BCAST", IdBcast },
    { "BCASTNG", IdBcastNg },
    { "ERROR", IdError },
    { "KILL", IdKill },
    { "LOGIN", IdLogin },
    { "LOGINNG", IdLoginNg },
    { "LOGINOK", IdLoginOk },
    { "LOGOUT", IdLogout },
    { "MODCOMMENT", IdModComment },
    { "PING", IdPing },
    { "PINGNG", IdPingNg },
    { "PONG", IdPong },
    { "PROFILE", IdProfile },
    { "PROFILENG", IdProfileNg },
    { "RATECOLOR", IdRateColor },
    { "READY", IdReady },
    { "RESIGNNG", IdResignNg },
    { "RSYSMSG", IdRSysMsg },
    { "RTELL", IdRTell },
    { "RTELLNG", IdRTellNg },
    { "RTELLOK", IdRTellOk },
    { "SETVARNG", IdSetVarNg },
    { "SETVAROK", IdSetVarOk },
    { "SGAMES", IdSGames },
    { "SIT", IdSit },
    { "SITNG", IdSitNg },
    { "STAND", IdStand },
    { "STANDNG", IdStandNg },
    { "SYSMSG", IdSysMsg },
    { "TELL", IdTell },
    { "TELLNG", IdTellNg },
    { "TELLOK", IdTellOk },
    { "TIMEOUTNG", IdTimeoutNg },
    { "UNSETVARNG", IdUnsetVarNg },
    { "UNSETVAROK", IdUnsetVarOk },
    { "XTELL", IdXTell },
} };

} // namespace

std::span<const CommandEntry> commandTable()
{
    return table;
}

int32_t lookupCommand(std::string_view word)
{
    for (const CommandEntry& entry : table) {
        if (entry.word == word)
            return entry.id;
    }
    return -1;
}
