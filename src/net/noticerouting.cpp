#include "net/noticerouting.h"

#include "net/commanddispatcher.h"
#include "net/notices.h"

namespace {

template <typename Kind>
void route(CommandDispatcher& dispatcher, int32_t id, const NoticeSink& notify)
{
    dispatcher.setHandler(
        id, [notify](const StringList& message) { notify(Kind::fromMessage(message)); });
}

} // namespace

void routeNotices(CommandDispatcher& dispatcher, NoticeSink notify)
{
    route<AllUserNotice>(dispatcher, IdAllUser, notify);
    route<BcastNotice>(dispatcher, IdBcast, notify);
    route<BcastNgNotice>(dispatcher, IdBcastNg, notify);
    route<LoginNotice>(dispatcher, IdLogin, notify);
    route<LoginNgNotice>(dispatcher, IdLoginNg, notify);
    route<LoginOkNotice>(dispatcher, IdLoginOk, notify);
    route<LogoutNotice>(dispatcher, IdLogout, notify);
    route<ModCommentNotice>(dispatcher, IdModComment, notify);
    route<PingNotice>(dispatcher, IdPing, notify);
    route<PingNgNotice>(dispatcher, IdPingNg, notify);
    route<PongNotice>(dispatcher, IdPong, notify);
    route<ProfileNotice>(dispatcher, IdProfile, notify);
    route<ProfileNgNotice>(dispatcher, IdProfileNg, notify);
    route<SysMsgNotice>(dispatcher, IdSysMsg, notify);
    route<TellNotice>(dispatcher, IdTell, notify);
    route<TellNgNotice>(dispatcher, IdTellNg, notify);
    route<TellOkNotice>(dispatcher, IdTellOk, notify);
    dispatcher.setHandler(IdError, [](const StringList&) {});
}
