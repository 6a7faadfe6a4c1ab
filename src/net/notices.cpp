#include "net/notices.h"

#include "net/noticelistener.h"
#include "net/wirenumber.h"

#include <algorithm>

namespace {

// Items first..end of the message, for the notices that carry lines of text.
StringList itemsFrom(const StringList& message, int32_t first)
{
    StringList lines;
    for (int32_t i = first; i < message.count(); ++i)
        lines.append(message.item(i));
    return lines;
}

int32_t numberAt(const StringList& message, int32_t i)
{
    return readNumber(message.item(i));
}

} // namespace

ModCommentNotice ModCommentNotice::fromMessage(const StringList& message)
{
    ModCommentNotice notice;
    notice.user = message.item(1);
    notice.comment = message.item(2);
    return notice;
}

AllUserNotice AllUserNotice::fromMessage(const StringList& message)
{
    AllUserNotice notice;
    notice.users.reserve(static_cast<size_t>(std::max(message.count() - 1, 0)));
    StringList fields;
    for (int32_t i = 1; i < message.count(); ++i) {
        fields.split(message.item(i), ',');
        UserEntry entry { fields.item(0), fields.item(1), readNumber(fields.item(2)) };
        entry.comment.unescape();
        notice.users.push_back(std::move(entry));
    }
    return notice;
}

BcastNotice BcastNotice::fromMessage(const StringList& message)
{
    BcastNotice notice;
    notice.sender = message.item(1);
    notice.lines = itemsFrom(message, 2);
    return notice;
}

BcastNgNotice BcastNgNotice::fromMessage(const StringList& message)
{
    BcastNgNotice notice;
    notice.code = numberAt(message, 1);
    return notice;
}

LoginNotice LoginNotice::fromMessage(const StringList& message)
{
    LoginNotice notice;
    notice.user = message.item(1);
    notice.loginTime = numberAt(message, 2);
    return notice;
}

LoginNgNotice LoginNgNotice::fromMessage(const StringList& message)
{
    LoginNgNotice notice;
    notice.reason = numberAt(message, 1);
    return notice;
}

LoginOkNotice LoginOkNotice::fromMessage(const StringList& message)
{
    LoginOkNotice notice;
    notice.text = message.item(1);
    for (int32_t i = 0; i < 3; ++i)
        notice.numbers[static_cast<size_t>(i)] = numberAt(message, 2 + i);
    return notice;
}

LogoutNotice LogoutNotice::fromMessage(const StringList& message)
{
    LogoutNotice notice;
    notice.user = message.item(1);
    return notice;
}

PingNotice PingNotice::fromMessage(const StringList& message)
{
    PingNotice notice;
    for (int32_t i = 0; i < 3; ++i)
        notice.items[static_cast<size_t>(i)] = message.item(1 + i);
    return notice;
}

PingNgNotice PingNgNotice::fromMessage(const StringList&)
{
    return PingNgNotice();
}

PongNotice PongNotice::fromMessage(const StringList& message)
{
    PongNotice notice;
    notice.user = message.item(1);
    notice.delay = numberAt(message, 2);
    notice.tick = numberAt(message, 3);
    return notice;
}

ProfileNotice ProfileNotice::fromMessage(const StringList& message)
{
    ProfileNotice notice;
    notice.user = message.item(1);
    notice.text = message.item(2);
    notice.number = numberAt(message, 3);
    notice.idleSeconds = numberAt(message, 4);
    return notice;
}

ProfileNgNotice ProfileNgNotice::fromMessage(const StringList&)
{
    return ProfileNgNotice();
}

SysMsgNotice SysMsgNotice::fromMessage(const StringList& message)
{
    SysMsgNotice notice;
    notice.number = numberAt(message, 1);
    notice.lines = itemsFrom(message, 2);
    return notice;
}

TellNotice TellNotice::fromMessage(const StringList& message)
{
    TellNotice notice;
    notice.sender = message.item(1);
    notice.lines = itemsFrom(message, 2);
    return notice;
}

TellNgNotice TellNgNotice::fromMessage(const StringList& message)
{
    TellNgNotice notice;
    notice.code = numberAt(message, 1);
    notice.text = message.item(2);
    return notice;
}

TellOkNotice TellOkNotice::fromMessage(const StringList&)
{
    return TellOkNotice();
}

int32_t ModCommentNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onModComment(*this, count);
}

int32_t AllUserNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onAllUser(*this, count);
}

int32_t BcastNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onBcast(*this, count);
}

int32_t BcastNgNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onBcastNg(*this, count);
}

int32_t LoginNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onLogin(*this, count);
}

int32_t LoginNgNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onLoginNg(*this, count);
}

int32_t LoginOkNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onLoginOk(*this, count);
}

int32_t LogoutNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onLogout(*this, count);
}

int32_t PingNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onPing(*this, count);
}

int32_t PingNgNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onPingNg(*this, count);
}

int32_t PongNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onPong(*this, count);
}

int32_t ProfileNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onProfile(*this, count);
}

int32_t ProfileNgNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onProfileNg(*this, count);
}

int32_t SysMsgNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onSysMsg(*this, count);
}

int32_t TellNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onTell(*this, count);
}

int32_t TellNgNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onTellNg(*this, count);
}

int32_t TellOkNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onTellOk(*this, count);
}

int32_t ConnectionLostNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onConnectionLost(*this, count);
}

int32_t WindowNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onWindow(*this, count);
}

int32_t TickNotice::deliverTo(NoticeListener& listener, int32_t count) const
{
    return listener.onTick(*this, count);
}
