#include "itemsof.h"
#include "net/commanddispatcher.h"
#include "net/noticelistener.h"
#include "net/noticerouting.h"
#include "net/outgoingmessages.h"
#include "net/wirenumber.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(WireNumber, ReadsLikeTheCLibrary)
{
    struct Case {
        std::string text;
        int32_t value;
    } cases[] = {
        { "42", 42 }, { "  -17", -17 }, { "\t\n+8", 8 }, { "12abc", 12 }, { "3 4", 3 }, { "", 0 },
        { "abc", 0 }, { "-", 0 }, { "+-3", 0 }, { "- 3", 0 }, { "2147483647", 2147483647 },
        { "-2147483648", -2147483647 - 1 }, { "99999999999999999999", 2147483647 },
        { "-99999999999999999999", -2147483647 - 1 },
        { "\x81\x40"
          "5",
            0 }, // the full-width space is not white space
    };
    for (const Case& c : cases)
        EXPECT_EQ(readNumber(c.text), c.value) << c.text;
}

TEST(Notices, ReadFromMessages)
{
    const auto bcast = BcastNotice::fromMessage(StringList { "BCAST", "ab", "x", "y" });
    EXPECT_EQ(bcast.id, IdBcast);
    EXPECT_EQ(bcast.sender, "ab");
    EXPECT_EQ(itemsOf(bcast.lines), (std::vector<std::string> { "x", "y" }));

    const auto tell = TellNotice::fromMessage(StringList { "TELL", "bob" });
    EXPECT_EQ(tell.sender, "bob");
    EXPECT_EQ(tell.lines.count(), 0);

    const auto login = LoginNotice::fromMessage(StringList { "LOGIN", "carol", "1700000000" });
    EXPECT_EQ(login.user, "carol");
    EXPECT_EQ(login.comment, "");
    EXPECT_EQ(login.loginTime, 1700000000);

    const auto loginOk = LoginOkNotice::fromMessage(StringList { "LOGINOK", "hi", "1", "x", "-3" });
    EXPECT_EQ(loginOk.text, "hi");
    EXPECT_EQ(loginOk.numbers, (std::array<int32_t, 3> { 1, 0, -3 }));

    const auto pong = PongNotice::fromMessage(StringList { "PONG", "dave", "250", "-5" });
    EXPECT_EQ(pong.user, "dave");
    EXPECT_EQ(pong.delay, 250);
    EXPECT_EQ(pong.tick, -5);

    const auto profile = ProfileNotice::fromMessage(StringList { "PROFILE", "e", "t", "3", "61" });
    EXPECT_EQ(profile.user, "e");
    EXPECT_EQ(profile.text, "t");
    EXPECT_EQ(profile.number, 3);
    EXPECT_EQ(profile.idleSeconds, 61);

    const auto ping = PingNotice::fromMessage(StringList { "PING", "f", "123" });
    EXPECT_EQ(ping.items[0], "f");
    EXPECT_EQ(ping.items[1], "123");
    EXPECT_EQ(ping.items[2], "");

    const auto sysMsg = SysMsgNotice::fromMessage(StringList { "SYSMSG", "7", "l1", "l2" });
    EXPECT_EQ(sysMsg.number, 7);
    EXPECT_EQ(itemsOf(sysMsg.lines), (std::vector<std::string> { "l1", "l2" }));

    const auto tellNg = TellNgNotice::fromMessage(StringList { "TELLNG", "2", "gone" });
    EXPECT_EQ(tellNg.code, 2);
    EXPECT_EQ(tellNg.text, "gone");

    const auto mod = ModCommentNotice::fromMessage(StringList { "MODCOMMENT", "g", "new" });
    EXPECT_EQ(mod.id, 0);
    EXPECT_EQ(mod.user, "g");
    EXPECT_EQ(mod.comment, "new");

    EXPECT_EQ(LoginNgNotice::fromMessage(StringList { "LOGINNG", "10" }).reason, 10);
    EXPECT_EQ(BcastNgNotice::fromMessage(StringList { "BCASTNG" }).code, 0);
    EXPECT_EQ(LogoutNotice::fromMessage(StringList { "LOGOUT", "h" }).user, "h");
    EXPECT_EQ(TellOkNotice::fromMessage(StringList { "TELLOK", "x" }).text, "");
}

TEST(Notices, AllUserSplitsEveryCommaBeforeUnescaping)
{
    const auto notice = AllUserNotice::fromMessage(StringList {
        "ALLUSER", "alice,my \\\\ pc,100", "bob,,200", "carol", "dave,a\\,b,300", "" });
    const std::vector<UserEntry> expected {
        { ByteString("alice"), ByteString("my \\ pc"), 100 },
        { ByteString("bob"), ByteString(""), 200 },
        { ByteString("carol"), ByteString(""), 0 },
        { ByteString("dave"), ByteString("a"), 0 },
        { ByteString(""), ByteString(""), 0 },
    };
    EXPECT_EQ(notice.users, expected);
    EXPECT_TRUE(AllUserNotice::fromMessage(StringList { "ALLUSER" }).users.empty());
}

namespace {

// Records which handler each notice reached.
class RecordingListener final : public NoticeListener {
public:
    int32_t onModComment(const ModCommentNotice& n, int32_t) override
    {
        return seen("MODCOMMENT " + n.user.str());
    }
    int32_t onAllUser(const AllUserNotice& n, int32_t) override
    {
        return seen("ALLUSER " + std::to_string(n.users.size()));
    }
    int32_t onBcast(const BcastNotice& n, int32_t) override
    {
        return seen("BCAST " + n.sender.str());
    }
    int32_t onBcastNg(const BcastNgNotice& n, int32_t) override
    {
        return seen("BCASTNG " + std::to_string(n.code));
    }
    int32_t onLogin(const LoginNotice& n, int32_t) override
    {
        return seen("LOGIN " + n.user.str());
    }
    int32_t onLoginNg(const LoginNgNotice& n, int32_t) override
    {
        return seen("LOGINNG " + std::to_string(n.reason));
    }
    int32_t onLoginOk(const LoginOkNotice& n, int32_t) override
    {
        return seen("LOGINOK " + n.text.str());
    }
    int32_t onLogout(const LogoutNotice& n, int32_t) override
    {
        return seen("LOGOUT " + n.user.str());
    }
    int32_t onPing(const PingNotice& n, int32_t) override
    {
        return seen("PING " + n.items[0].str());
    }
    int32_t onPingNg(const PingNgNotice&, int32_t) override { return seen("PINGNG"); }
    int32_t onPong(const PongNotice& n, int32_t) override { return seen("PONG " + n.user.str()); }
    int32_t onProfile(const ProfileNotice& n, int32_t) override
    {
        return seen("PROFILE " + n.user.str());
    }
    int32_t onProfileNg(const ProfileNgNotice&, int32_t) override { return seen("PROFILENG"); }
    int32_t onSysMsg(const SysMsgNotice& n, int32_t) override
    {
        return seen("SYSMSG " + std::to_string(n.number));
    }
    int32_t onTell(const TellNotice& n, int32_t) override { return seen("TELL " + n.sender.str()); }
    int32_t onTellNg(const TellNgNotice& n, int32_t) override
    {
        return seen("TELLNG " + n.text.str());
    }
    int32_t onTellOk(const TellOkNotice&, int32_t) override { return seen("TELLOK"); }
    int32_t onConnectionLost(const ConnectionLostNotice&, int32_t) override { return seen("LOST"); }
    int32_t onWindow(const WindowNotice& n, int32_t) override
    {
        return seen("WINDOW " + std::to_string(n.kind));
    }
    int32_t onTick(const TickNotice&, int32_t) override { return seen("TICK"); }

    std::vector<std::string> log;

private:
    int32_t seen(std::string entry)
    {
        log.push_back(std::move(entry));
        return noticeHandled;
    }
};

} // namespace

TEST(Notices, EveryKindReachesItsOwnHandler)
{
    RecordingListener listener;
    CommandDispatcher dispatcher;
    routeNotices(dispatcher,
        [&listener](const Notice& notice) { return countHandler(listener, notice, 0); });
    const std::vector<StringList> messages {
        { "ALLUSER", "a,b,1", "c,d,2" },
        { "BCAST", "s" },
        { "BCASTNG", "4" },
        { "LOGIN", "u" },
        { "LOGINNG", "5" },
        { "LOGINOK", "ok" },
        { "LOGOUT", "v" },
        { "MODCOMMENT", "w" },
        { "PING", "p" },
        { "PINGNG" },
        { "PONG", "q" },
        { "PROFILE", "r" },
        { "PROFILENG" },
        { "SYSMSG", "9" },
        { "TELL", "t" },
        { "TELLNG", "1", "z" },
        { "TELLOK" },
        // Words without a notice.
        { "ERROR", "x" },
        { "XTELL", "u", "GETDIR", "\\" },
        { "KILL" },
        { "SIT" },
    };
    for (const StringList& message : messages)
        dispatcher.handle(message);
    EXPECT_EQ(listener.log,
        (std::vector<std::string> { "ALLUSER 2", "BCAST s", "BCASTNG 4", "LOGIN u", "LOGINNG 5",
            "LOGINOK ok", "LOGOUT v", "MODCOMMENT w", "PING p", "PINGNG", "PONG q", "PROFILE r",
            "PROFILENG", "SYSMSG 9", "TELL t", "TELLNG z", "TELLOK" }));
    EXPECT_TRUE(dispatcher.hasHandler(IdError));
    EXPECT_FALSE(dispatcher.hasHandler(IdXTell));

    EXPECT_EQ(countHandler(listener, ConnectionLostNotice(), 0), 1);
    EXPECT_EQ(countHandler(listener, WindowNotice(WindowChat), 0), 1);
    EXPECT_EQ(countHandler(listener, TickNotice(), 0), 1);
    EXPECT_EQ(listener.log.back(), "TICK");
    EXPECT_EQ(listener.log[listener.log.size() - 2], "WINDOW 20");

    NoticeListener base;
    EXPECT_EQ(TickNotice().deliverTo(base, 0), noticeIgnored);
    EXPECT_EQ(countHandler(base, TickNotice(), 0), 0);
}

TEST(OutgoingMessages, Items)
{
    using Items = std::vector<std::string>;
    EXPECT_EQ(itemsOf(loginMessage("a", "b")), (Items { "LOGIN", "a", "b", "0" }));
    EXPECT_EQ(itemsOf(presenceLoginMessage(1234)), (Items { "LOGIN", "1234" }));
    EXPECT_EQ(itemsOf(versionMessage(0)), (Items { "VERSION", "0" }));
    EXPECT_EQ(itemsOf(nopMessage()), (Items { "NOP" }));
    EXPECT_EQ(itemsOf(hcMessage()), (Items { "HC" }));
    EXPECT_EQ(itemsOf(modCommentMessage("pc")), (Items { "MODCOMMENT", "pc" }));
    EXPECT_EQ(itemsOf(profileMessage("u")), (Items { "PROFILE", "u" }));
    EXPECT_EQ(itemsOf(tellMessage("u", "  hi")), (Items { "TELL", "u", "  hi" }));
    EXPECT_EQ(itemsOf(bcastMessage("")), (Items { "BCAST", "" }));
    EXPECT_EQ(itemsOf(pingMessage("u", 1234)), (Items { "PING", "u", "1234" }));
    // A tick past 2^31 goes out as its signed form and reads back to the same 32 bits.
    EXPECT_EQ(itemsOf(pingMessage("u", 4294967295u)), (Items { "PING", "u", "-1" }));
    EXPECT_EQ(static_cast<uint32_t>(readNumber("-1")), 4294967295u);
    const auto ping = PingNotice::fromMessage(StringList { "PING", "x", "y", "z" });
    EXPECT_EQ(itemsOf(pongMessage(ping.items)), (Items { "PONG", "x", "y", "z" }));
    EXPECT_EQ(itemsOf(getDirMessage("u", "\\")), (Items { "XTELL", "u", "GETDIR", "\\" }));
    StringList dir = dirMessage("u", "\\s\\");
    dir.append(std::string_view("1,s,c"));
    EXPECT_EQ(itemsOf(dir), (Items { "XTELL", "u", "DIR", "\\s\\", "1,s,c" }));
}
