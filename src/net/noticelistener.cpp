#include "net/noticelistener.h"

int32_t NoticeListener::onModComment(const ModCommentNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onAllUser(const AllUserNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onBcast(const BcastNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onBcastNg(const BcastNgNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onLogin(const LoginNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onLoginNg(const LoginNgNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onLoginOk(const LoginOkNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onLogout(const LogoutNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onPing(const PingNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onPingNg(const PingNgNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onPong(const PongNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onProfile(const ProfileNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onProfileNg(const ProfileNgNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onSysMsg(const SysMsgNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onTell(const TellNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onTellNg(const TellNgNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onTellOk(const TellOkNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onConnectionLost(const ConnectionLostNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onWindow(const WindowNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t NoticeListener::onTick(const TickNotice&, int32_t)
{
    return noticeIgnored;
}

int32_t countHandler(NoticeListener& listener, const Notice& notice, int32_t count)
{
    return notice.deliverTo(listener, count) == noticeHandled ? 1 : 0;
}
