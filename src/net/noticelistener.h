#pragma once

#include "net/notices.h"

#include <cstdint>

// A handler's answer: handled means the notice was for this listener and is counted; any other
// value (the default handlers answer ignored) means it was not.
inline constexpr int32_t noticeHandled = 2;
inline constexpr int32_t noticeIgnored = 1;

// One virtual handler per notice kind the program uses. Each takes the notice and the count of
// listeners that handled it so far and answers noticeHandled or noticeIgnored. The main frame
// and every modeless window implement the handlers they care about.
class NoticeListener {
public:
    virtual ~NoticeListener() = default;

    virtual int32_t onModComment(const ModCommentNotice& notice, int32_t count);
    virtual int32_t onAllUser(const AllUserNotice& notice, int32_t count);
    virtual int32_t onBcast(const BcastNotice& notice, int32_t count);
    virtual int32_t onBcastNg(const BcastNgNotice& notice, int32_t count);
    virtual int32_t onLogin(const LoginNotice& notice, int32_t count);
    virtual int32_t onLoginNg(const LoginNgNotice& notice, int32_t count);
    virtual int32_t onLoginOk(const LoginOkNotice& notice, int32_t count);
    virtual int32_t onLogout(const LogoutNotice& notice, int32_t count);
    virtual int32_t onPing(const PingNotice& notice, int32_t count);
    virtual int32_t onPingNg(const PingNgNotice& notice, int32_t count);
    virtual int32_t onPong(const PongNotice& notice, int32_t count);
    virtual int32_t onProfile(const ProfileNotice& notice, int32_t count);
    virtual int32_t onProfileNg(const ProfileNgNotice& notice, int32_t count);
    virtual int32_t onSysMsg(const SysMsgNotice& notice, int32_t count);
    virtual int32_t onTell(const TellNotice& notice, int32_t count);
    virtual int32_t onTellNg(const TellNgNotice& notice, int32_t count);
    virtual int32_t onTellOk(const TellOkNotice& notice, int32_t count);
    virtual int32_t onConnectionLost(const ConnectionLostNotice& notice, int32_t count);
    virtual int32_t onWindow(const WindowNotice& notice, int32_t count);
    virtual int32_t onTick(const TickNotice& notice, int32_t count);
};

// Calls the listener's own handler for the notice and returns 1 when it answered noticeHandled,
// else 0.
int32_t countHandler(NoticeListener& listener, const Notice& notice, int32_t count);
