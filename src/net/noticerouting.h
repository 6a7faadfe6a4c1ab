#pragma once

#include <cstdint>
#include <functional>

class CommandDispatcher;
struct Notice;

// Broadcasts a notice (the main frame's Notify) and returns how many handlers took it.
using NoticeSink = std::function<int32_t(const Notice& notice)>;

// Fills the dispatcher's handlers for every word that becomes a notice (ALLUSER, BCAST, BCASTNG,
// LOGIN, LOGINNG, LOGINOK, LOGOUT, MODCOMMENT, PING, PINGNG, PONG, PROFILE, PROFILENG, SYSMSG,
// TELL, TELLNG, TELLOK): each reads its message into the notice and hands it to notify. ERROR
// gets a handler that does nothing. XTELL is left to the shared-folder code.
void routeNotices(CommandDispatcher& dispatcher, NoticeSink notify);
