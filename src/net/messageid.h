#pragma once

#include <cstdint>

// The internal ids of the server's command words and of the internal notices. A notice carries
// the id of the word it was made from; MODCOMMENT is 0. Ids without a word (1 to 4, 6 to 8, ...)
// are never produced.
enum MessageId : int32_t {
    IdModComment = 0,
    IdAllUser = 5,
    IdBcast = 9,
    IdBcastNg = 10,
    IdError = 24,
    IdKill = 40,
    IdLogin = 44,
    IdLoginNg = 45,
    IdLoginOk = 46,
    IdLogout = 47,
    IdPing = 53,
    IdPingNg = 54,
    IdPong = 55,
    IdProfile = 56,
    IdProfileNg = 57,
    IdRateColor = 58,
    IdReady = 59,
    IdResignNg = 60,
    IdRSysMsg = 61,
    IdRTell = 62,
    IdRTellNg = 63,
    IdRTellOk = 64,
    IdSetVarNg = 65,
    IdSetVarOk = 66,
    IdSGames = 67,
    IdSit = 68,
    IdSitNg = 69,
    IdStand = 70,
    IdStandNg = 71,
    IdSysMsg = 72,
    IdTell = 73,
    IdTellNg = 74,
    IdTellOk = 75,
    IdTimeoutNg = 76,
    IdUnsetVarNg = 77,
    IdUnsetVarOk = 78,
    IdXTell = 81,
    // Internal notices that no server message produces.
    IdConnectionLost = 82,
    IdWindow = 83,
    IdTick = 84,
};

// One above the highest id, for tables indexed by id.
inline constexpr int32_t messageIdLimit = 85;
