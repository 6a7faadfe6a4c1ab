#pragma once

#include "net/bytestring.h"
#include "net/messageid.h"
#include "net/notice.h"
#include "net/stringlist.h"

#include <array>
#include <cstdint>
#include <vector>

struct TableSnapshot;

// One notice kind per server word that produces one, and the three internal notices. Each
// fromMessage reads a received message (item 0 the word); items it lacks read as empty strings
// and numbers as 0 (see readNumber).

struct ModCommentNotice final : Notice {
    ModCommentNotice()
        : Notice(IdModComment)
    { }
    static ModCommentNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    ByteString user;
    ByteString comment;
};

// One logged-in user of an ALLUSER list.
struct UserEntry {
    ByteString name;
    ByteString comment; // already unescaped
    int32_t loginTime = 0; // seconds since 1970-01-01 UTC

    friend bool operator==(const UserEntry&, const UserEntry&) = default;
};

struct AllUserNotice final : Notice {
    AllUserNotice()
        : Notice(IdAllUser)
    { }
    // Each item after the word is "name,comment,time", split at every comma before the comment
    // is unescaped, so an escaped comma inside a comment still cuts it there.
    static AllUserNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    std::vector<UserEntry> users;
};

struct BcastNotice final : Notice {
    BcastNotice()
        : Notice(IdBcast)
    { }
    static BcastNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    ByteString sender;
    StringList lines;
};

struct BcastNgNotice final : Notice {
    BcastNgNotice()
        : Notice(IdBcastNg)
    { }
    static BcastNgNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    int32_t code = 0;
};

struct LoginNotice final : Notice {
    LoginNotice()
        : Notice(IdLogin)
    { }
    static LoginNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    ByteString user;
    ByteString comment; // always empty: a new user's description arrives later by MODCOMMENT
    int32_t loginTime = 0;
};

struct LoginNgNotice final : Notice {
    LoginNgNotice()
        : Notice(IdLoginNg)
    { }
    static LoginNgNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    int32_t reason = 0;
};

struct LoginOkNotice final : Notice {
    LoginOkNotice()
        : Notice(IdLoginOk)
    { }
    static LoginOkNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    ByteString text;
    std::array<int32_t, 3> numbers {}; // items 2 to 4; not used by the client
};

struct LogoutNotice final : Notice {
    LogoutNotice()
        : Notice(IdLogout)
    { }
    static LogoutNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    ByteString user;
};

struct PingNotice final : Notice {
    PingNotice()
        : Notice(IdPing)
    { }
    static PingNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    std::array<ByteString, 3> items; // items 1 to 3, opaque; a PONG carries them back unchanged
};

struct PingNgNotice final : Notice {
    PingNgNotice()
        : Notice(IdPingNg)
    { }
    static PingNgNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    ByteString text; // always empty
};

struct PongNotice final : Notice {
    PongNotice()
        : Notice(IdPong)
    { }
    static PongNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    ByteString user;
    int32_t delay = 0; // the peer side's delay in milliseconds
    int32_t tick = 0; // the asker's tick count from its PING, as sent ("%d" of the 32 bits)
};

struct ProfileNotice final : Notice {
    ProfileNotice()
        : Notice(IdProfile)
    { }
    static ProfileNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    ByteString user;
    ByteString text;
    int32_t number = 0;
    int32_t idleSeconds = 0;
};

struct ProfileNgNotice final : Notice {
    ProfileNgNotice()
        : Notice(IdProfileNg)
    { }
    static ProfileNgNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    ByteString text; // always empty
};

struct SysMsgNotice final : Notice {
    SysMsgNotice()
        : Notice(IdSysMsg)
    { }
    static SysMsgNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    int32_t number = 0;
    StringList lines;
};

struct TellNotice final : Notice {
    TellNotice()
        : Notice(IdTell)
    { }
    static TellNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    ByteString sender;
    StringList lines;
};

struct TellNgNotice final : Notice {
    TellNgNotice()
        : Notice(IdTellNg)
    { }
    static TellNgNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    int32_t code = 0;
    ByteString text;
};

struct TellOkNotice final : Notice {
    TellOkNotice()
        : Notice(IdTellOk)
    { }
    static TellOkNotice fromMessage(const StringList& message);
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    ByteString text; // always empty
};

// The server closed the main connection after a login had been sent.
struct ConnectionLostNotice final : Notice {
    ConnectionLostNotice()
        : Notice(IdConnectionLost)
    { }
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;
};

// What a window notice is about. Queries make the window that matches come forward; the capture
// kinds drive the capture windows; the removal kinds close windows showing what went away.
enum WindowKind : int32_t {
    WindowTrashSettings = 0,
    WindowFolderProperties = 1, // key folder, extra passed on to the dialog
    WindowCaptureSettings = 2,
    WindowPeerProperties = 5, // key folder
    WindowCaptureTable = 6, // snapshot
    WindowCaptureAlive = 7, // text the room, extra the table number
    WindowCaptureScanEnd = 8,
    WindowViewRecord = 9, // key record
    WindowEditRecord = 10, // key record
    WindowSearch = 11, // key folder
    WindowFolderRemoved = 12, // key folder
    WindowRecordRemoved = 13, // key record
    WindowCaptureOff = 14,
    WindowChat = 20, // text the user name
};

// Finds, activates or closes windows (see WindowKind). A key naming a folder or a record packs
// the collection into the top 8 bits and the index into the low 24 bits.
struct WindowNotice final : Notice {
    explicit WindowNotice(int32_t windowKind, uint32_t windowKey = 0, uint32_t windowExtra = 0)
        : Notice(IdWindow)
        , kind(windowKind)
        , key(windowKey)
        , extra(windowExtra)
    { }
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;

    int32_t kind;
    uint32_t key;
    uint32_t extra;
    ByteString text; // the room or the user name, for the kinds that name one
    const TableSnapshot* snapshot = nullptr; // the reading just made, for WindowCaptureTable
};

// The main timer's 50 ms tick.
struct TickNotice final : Notice {
    TickNotice()
        : Notice(IdTick)
    { }
    int32_t deliverTo(NoticeListener& listener, int32_t count) const override;
};
