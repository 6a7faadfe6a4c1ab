#include "server/sharingserver.h"

#include "net/framing.h"
#include "text/cp932.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>

namespace {

// Numbers from clients read like the desktop program reads them: optional white space, an
// optional sign, decimal digits; anything after the digits is ignored, no digits give 0.
std::int64_t leadingNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t cap = std::numeric_limits<std::int64_t>::max() / 10 - 9;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value < cap ? value * 10 + (text[i] - '0') : value;
    return negative ? -value : value;
}

// Cuts a description to at most `limit` bytes without splitting a two-byte character.
std::string cutText(std::string_view text, size_t limit)
{
    size_t end = 0;
    while (end < text.size()) {
        const size_t width = cp932::isLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + width > limit)
            break;
        end += width;
    }
    return std::string(text.substr(0, std::min(end, text.size())));
}

// A description inside a "name,comment,time" user-list entry. The receiver cuts the entry at
// every comma before it unescapes, so a comma cannot be escaped and becomes the full-width
// comma instead; a backslash is doubled so that unescaping gives it back. A backslash that is
// the second byte of a two-byte character is doubled too, and unescaping restores it the same way.
std::string listComment(std::string_view comment)
{
    std::string out;
    out.reserve(comment.size());
    for (char c : comment) {
        if (c == '\\')
            out += "\\\\";
        else if (c == ',')
            out += "\x81\x43"; // "，"
        else
            out += c;
    }
    return out;
}

StringList words(std::initializer_list<std::string_view> items)
{
    return StringList(items);
}

} // namespace

SharingServer::SharingServer(Settings settings, AccountStore& store, LoginChecker& checker,
    ConnectionControl& control, const ServerClock& clock, ServerLog& log)
    : m_settings(std::move(settings))
    , m_store(store)
    , m_checker(checker)
    , m_control(control)
    , m_clock(clock)
    , m_log(log)
    , m_nextAccountCheck(clock.steadyNow() + m_settings.accountCheckPeriod)
    , m_newInstallations(m_settings.maxNewInstallations, m_settings.newInstallationWindow)
{ }

SharingServer::Connection* SharingServer::find(ConnectionId id)
{
    const auto it = m_connections.find(id);
    return it == m_connections.end() ? nullptr : &it->second;
}

SharingServer::Connection* SharingServer::online(std::string_view name)
{
    const auto it = m_byName.find(std::string(name));
    return it == m_byName.end() ? nullptr : find(it->second);
}

void SharingServer::connectionOpened(ConnectionId id, PortKind port, const std::string& address)
{
    Connection& c = m_connections[id];
    c.id = id;
    c.port = port;
    c.address = address;
    c.arrivedAt = m_clock.steadyNow();
    m_arrivals.emplace_back(id, c.arrivedAt);
    m_log.line("connect #" + std::to_string(id) + " from " + address
        + (port == PortKind::Main ? "" : " (presence)"));
}

void SharingServer::connectionClosed(ConnectionId id)
{
    Connection* c = find(id);
    if (!c)
        return;
    if (c->state == State::LoggedIn && c->port == PortKind::Main)
        endSession(*c, "disconnected");
    m_log.line("disconnect #" + std::to_string(id));
    m_connections.erase(id);
}

void SharingServer::bytesReceived(ConnectionId id, std::string_view bytes)
{
    Connection* c = find(id);
    if (!c || c->state == State::Closing)
        return;
    const MessageInput::Status status = c->input.feed(bytes);
    if (status != MessageInput::Status::Ok) {
        m_log.line("closing #" + std::to_string(id) + " from " + c->address + ": "
            + inputStatusText(status));
        closeConnection(*c);
        return;
    }
    process(*c);
}

void SharingServer::process(Connection& c)
{
    if (c.processing)
        return;
    c.processing = true;
    StringList message;
    // A login being checked holds back the messages behind it, so they are handled in order.
    while (c.state == State::Fresh || c.state == State::LoggedIn) {
        const MessageReader::Result result = c.input.next(message);
        if (result == MessageReader::Result::NoMessage)
            break;
        if (result == MessageReader::Result::ProtocolError) {
            m_log.line("closing #" + std::to_string(c.id) + " from " + c.address
                + ": a line that starts with neither '+' nor '-'");
            closeConnection(c);
            break;
        }
        if (c.port == PortKind::Main)
            handleMain(c, message);
        else
            handlePresence(c, message);
    }
    c.input.releaseIfIdle();
    c.processing = false;
}

void SharingServer::handlePresence(Connection& c, const StringList& message)
{
    const std::string_view word = message.item(0).view();
    if (word == "VERSION") {
        answerVersion(c, message);
    } else if (word == "LOGIN" && c.state == State::Fresh) {
        const std::int64_t installation = leadingNumber(message.item(1).view());
        const bool known = m_store.knowsInstallation(installation, m_clock.unixNow());
        c.state = State::LoggedIn;
        m_log.line("presence #" + std::to_string(c.id) + " installation "
            + std::to_string(installation) + (known ? "" : " (unknown)"));
    }
    // HC and everything else only show that the installation is still there.
}

void SharingServer::handleMain(Connection& c, const StringList& message)
{
    const std::string_view word = message.item(0).view();
    if (word == "NOP")
        return;
    if (word == "VERSION") {
        answerVersion(c, message);
        return;
    }
    if (c.state != State::LoggedIn) {
        if (word == "LOGIN")
            handleLogin(c, message);
        return; // nothing else counts before a login
    }
    // Automatic answers do not make a user active.
    if (word != "PONG")
        c.lastActive = m_clock.steadyNow();
    if (word == "MODCOMMENT")
        changeComment(c, message);
    else if (word == "BCAST")
        broadcastChat(c, message);
    else if (word == "TELL")
        tell(c, message);
    else if (word == "XTELL")
        relay(c, message);
    else if (word == "PROFILE")
        profile(c, message);
    else if (word == "PING")
        ping(c, message);
    else if (word == "PONG")
        pong(c, message);
    // Any other word, a repeated LOGIN included, is ignored.
}

void SharingServer::handleLogin(Connection& c, const StringList& message)
{
    const std::string name = message.item(1).str();
    if (m_settings.denied.matches(c.address)) {
        refuse(c, AddressDenied, name, "address not allowed");
        closeConnection(c);
        return;
    }
    if (message.count() < 3) {
        refuse(c, OtherRefusal, name, "malformed LOGIN");
        return;
    }
    // Checked here already to spare the hashing work; checked again when the verdict comes.
    if (m_settings.maxUsers > 0 && m_sessions.size() >= static_cast<size_t>(m_settings.maxUsers)
        && !online(name)) {
        refuse(c, TooManyUsers, name, "too many users");
        return;
    }
    c.state = State::Checking;
    m_control.pauseReading(c.id, true);
    const ConnectionId id = c.id;
    m_checker.check(name, message.item(2).str(),
        [this, id, name](LoginVerdict verdict) { loginChecked(id, name, verdict); });
}

void SharingServer::loginChecked(ConnectionId id, const std::string& name, LoginVerdict verdict)
{
    Connection* c = find(id);
    if (!c || c->state != State::Checking)
        return; // gone or timed out meanwhile
    c->state = State::Fresh;
    m_control.pauseReading(id, false);
    switch (verdict) {
    case LoginVerdict::UnknownUser:
        refuse(*c, UnknownUser, name, "unknown user");
        break;
    case LoginVerdict::WrongPassword:
        refuse(*c, WrongPassword, name, "wrong password");
        break;
    case LoginVerdict::Failed:
        refuse(*c, OtherRefusal, name, ("account database: " + m_store.error()).c_str());
        break;
    case LoginVerdict::Accepted:
        if (m_settings.maxUsers > 0 && m_sessions.size() >= static_cast<size_t>(m_settings.maxUsers)
            && !online(name)) {
            refuse(*c, TooManyUsers, name, "too many users");
            break;
        }
        admit(*c, name);
        break;
    }
    // The check outlasted the time allowed for logging in: a refusal ends the connection.
    if (c->state != State::LoggedIn && overdue(*c)) {
        closeConnection(*c);
        return;
    }
    process(*c);
}

void SharingServer::admit(Connection& c, const std::string& name)
{
    if (Connection* older = online(name)) {
        m_log.line("session of " + name + " on #" + std::to_string(older->id)
            + " replaced by a new login");
        endSession(*older, "replaced");
        // The older connection learns of its end with the others, then goes.
        send(*older, words({ "LOGOUT", name }));
        closeConnection(*older);
    }
    c.state = State::LoggedIn;
    c.name = name;
    c.comment.clear();
    c.loginTime = m_clock.unixNow();
    c.lastActive = m_clock.steadyNow();
    c.messages
        = TokenBucket(m_settings.maxMessageRate, 2 * m_settings.maxMessageRate, c.lastActive);
    c.throttled = false;
    m_sessions.emplace(c.id, &c);
    m_byName[name] = c.id;
    m_log.line("login " + name + " #" + std::to_string(c.id) + " from " + c.address);

    StringList ok = words({ "LOGINOK", "Welcome to the Pavione network, " + name });
    ok.append(std::to_string(c.loginTime));
    ok.append(std::to_string(m_sessions.size()));
    ok.append(std::to_string(m_settings.latestVersion));
    send(c, ok);
    send(c, userList());
    broadcast(words({ "LOGIN", name, std::to_string(c.loginTime) }), c.id);
}

void SharingServer::refuse(Connection& c, int reason, std::string_view name, const char* why)
{
    m_log.line("login refused (" + std::to_string(reason) + ", " + why + ") for '" + printable(name)
        + "' #" + std::to_string(c.id) + " from " + c.address);
    send(c, words({ "LOGINNG", std::to_string(reason) }));
}

bool SharingServer::overdue(const Connection& c) const
{
    return m_clock.steadyNow() - c.arrivedAt >= m_settings.loginTimeout;
}

void SharingServer::answerVersion(Connection& c, const StringList& message)
{
    const std::int64_t now = m_clock.unixNow();
    if (c.installation < 0) {
        const std::int64_t claimed = leadingNumber(message.item(1).view());
        if (m_store.knowsInstallation(claimed, now)) {
            c.installation = claimed;
        } else if (!m_newInstallations.take(c.address, m_clock.steadyNow())) {
            // One address asking again and again would otherwise grow the database without end.
            c.installation = 0;
            m_log.line("no new installation number for #" + std::to_string(c.id) + " from "
                + c.address + ": too many from this address");
        } else {
            c.installation = m_store.newInstallation(now);
            if (c.installation < 0)
                m_log.line("cannot record an installation number: " + m_store.error());
        }
    }
    StringList answer = words({ "VERSION", std::to_string(m_settings.latestVersion) });
    // Without a number the program keeps its own; 0 makes it ask for one at its next start.
    if (c.installation >= 0)
        answer.append(std::to_string(c.installation));
    send(c, answer);
}

void SharingServer::changeComment(Connection& c, const StringList& message)
{
    c.comment = cutText(message.item(1).view(), m_settings.maxCommentLength);
    broadcast(words({ "MODCOMMENT", c.name, c.comment }), 0);
}

bool SharingServer::withinRate(Connection& c)
{
    const bool allowed = c.messages.take(m_clock.steadyNow());
    // One line per flood, not one per refused message.
    if (!allowed && !c.throttled)
        m_log.line("messages from " + c.name + " #" + std::to_string(c.id) + " refused: too fast");
    c.throttled = !allowed;
    return allowed;
}

void SharingServer::broadcastChat(Connection& c, const StringList& message)
{
    if (!withinRate(c)) {
        send(c, words({ "BCASTNG", std::to_string(TooFast) }));
        return;
    }
    StringList out = words({ "BCAST", c.name });
    for (int32_t i = 1; i < message.count(); ++i)
        out.append(message.item(i).view());
    if (framedLength(out) > m_settings.maxBroadcastLength) {
        send(c, words({ "BCASTNG", std::to_string(TooLongOrAbsent) }));
        return;
    }
    // The sender's program shows its own line already.
    broadcast(out, c.id);
}

void SharingServer::tell(Connection& c, const StringList& message)
{
    if (!withinRate(c)) {
        send(c, words({ "TELLNG", std::to_string(TooFast), "too many messages" }));
        return;
    }
    Connection* target = online(message.item(1).view());
    if (!target) {
        send(c,
            words({ "TELLNG", std::to_string(TooLongOrAbsent),
                message.item(1).str() + " is not logged in" }));
        return;
    }
    StringList out = words({ "TELL", c.name });
    for (int32_t i = 2; i < message.count(); ++i)
        out.append(message.item(i).view());
    send(*target, out);
    send(c, words({ "TELLOK" }));
}

void SharingServer::relay(Connection& c, const StringList& message)
{
    Connection* target = online(message.item(1).view());
    if (!target || message.count() < 2)
        return; // nobody to hand it to; the asker has no time-out and may ask again
    StringList out = message;
    out.itemRef(1) = ByteString(c.name);
    send(*target, out);
}

void SharingServer::profile(Connection& c, const StringList& message)
{
    const Connection* target = online(message.item(1).view());
    if (!target) {
        send(c, words({ "PROFILENG", message.item(1).view() }));
        return;
    }
    const auto idle = std::chrono::duration_cast<std::chrono::seconds>(
        m_clock.steadyNow() - target->lastActive);
    send(c,
        words({ "PROFILE", target->name, target->comment, std::to_string(target->loginTime),
            std::to_string(std::max<std::int64_t>(0, idle.count())) }));
}

void SharingServer::ping(Connection& c, const StringList& message)
{
    Connection* target = online(message.item(1).view());
    if (!target) {
        send(c, words({ "PINGNG", message.item(1).view() }));
        return;
    }
    const std::uint64_t token = ++m_lastPingToken;
    target->pings.push_back(
        PendingPing { token, c.id, c.name, message.item(2).str(), m_clock.steadyNow() });
    if (target->pings.size() > m_settings.maxPendingPings)
        target->pings.erase(target->pings.begin());
    send(*target, words({ "PING", c.name, message.item(2).view(), std::to_string(token) }));
}

void SharingServer::pong(Connection& c, const StringList& message)
{
    // Only an answer that carries back exactly what was sent counts.
    for (auto it = c.pings.begin(); it != c.pings.end(); ++it) {
        if (std::to_string(it->token) != message.item(3).view()
            || it->askerName != message.item(1).view() || it->tick != message.item(2).view())
            continue;
        const PendingPing done = *it;
        c.pings.erase(it);
        Connection* asker = find(done.asker);
        if (!asker || asker->state != State::LoggedIn || asker->name != done.askerName)
            return;
        const auto delay = std::chrono::duration_cast<std::chrono::milliseconds>(
            m_clock.steadyNow() - done.sentAt);
        send(*asker,
            words({ "PONG", c.name, std::to_string(std::max<std::int64_t>(0, delay.count())),
                done.tick }));
        return;
    }
}

StringList SharingServer::userList() const
{
    StringList list = words({ "ALLUSER" });
    for (const auto& [id, session] : m_sessions) {
        list.append(session->name + "," + listComment(session->comment) + ","
            + std::to_string(session->loginTime));
    }
    return list;
}

void SharingServer::send(const Connection& c, const StringList& message)
{
    m_control.send(c.id, frameMessage(message));
}

void SharingServer::broadcast(const StringList& message, ConnectionId except)
{
    const std::string bytes = frameMessage(message);
    for (const auto& [id, session] : m_sessions) {
        if (id != except)
            m_control.send(id, bytes);
    }
}

void SharingServer::endSession(Connection& c, const char* why)
{
    if (c.state != State::LoggedIn || c.port != PortKind::Main)
        return;
    m_sessions.erase(c.id);
    m_byName.erase(c.name);
    c.state = State::Fresh;
    c.pings = {};
    m_log.line("logout " + c.name + " #" + std::to_string(c.id) + " (" + why + ")");
    broadcast(words({ "LOGOUT", c.name }), 0);
}

void SharingServer::closeConnection(Connection& c)
{
    endSession(c, "closed by the server");
    c.state = State::Closing;
    m_control.close(c.id);
}

void SharingServer::expireLogins()
{
    const auto now = m_clock.steadyNow();
    while (!m_arrivals.empty() && now - m_arrivals.front().second >= m_settings.loginTimeout) {
        const ConnectionId id = m_arrivals.front().first;
        m_arrivals.pop_front();
        Connection* c = find(id);
        // A login being checked was sent in time; its verdict decides (see loginChecked).
        if (!c || c->state != State::Fresh)
            continue;
        if (c->port == PortKind::Main)
            refuse(*c, LoginTimedOut, "", "no login in time");
        else
            m_log.line("closing presence #" + std::to_string(id) + ": no login in time");
        closeConnection(*c);
    }
}

void SharingServer::periodicChecks()
{
    const auto now = m_clock.steadyNow();
    if (now < m_nextAccountCheck)
        return;
    m_nextAccountCheck = now + m_settings.accountCheckPeriod;
    m_newInstallations.forgetOld(now);
    if (m_sessions.empty())
        return;
    std::vector<std::string> names;
    names.reserve(m_sessions.size());
    for (const auto& [id, session] : m_sessions)
        names.push_back(session->name);
    const std::optional<std::vector<std::string>> existing = m_store.existingUsers(names);
    if (!existing) {
        // Nobody is put off line on a failed lookup; the next check tries again.
        m_log.line("cannot check the accounts of logged-in users: " + m_store.error());
        return;
    }
    for (const std::string& name : names) {
        if (std::binary_search(existing->begin(), existing->end(), name))
            continue;
        Connection* c = online(name);
        if (!c)
            continue;
        endSession(*c, "account removed");
        // The user's own program learns of its end with the others, then the connection goes.
        send(*c, words({ "LOGOUT", name }));
        closeConnection(*c);
    }
}
