#include "server/sharingserver.h"

#include "net/framing.h"
#include "text/cp932.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>
#include <utility>

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

// What goes out to clients carries no carriage return and no NUL byte: a program that ends lines
// at a carriage return would otherwise read a forged line from another user's text. A carriage
// return becomes a space, as a line feed inside an item already does; NUL bytes are dropped.
void cleanFramed(std::string& bytes)
{
    if (bytes.find_first_of(std::string_view("\r\0", 2)) == std::string::npos)
        return;
    std::erase(bytes, '\0');
    std::replace(bytes.begin(), bytes.end(), '\r', ' ');
}

StringList words(std::initializer_list<std::string_view> items)
{
    return StringList(items);
}

} // namespace

SharingServer::SharingServer(Settings settings, StoreRunner& store, LoginChecker& checker,
    ConnectionControl& control, const ServerClock& clock, ServerLog& log)
    : m_settings(std::move(settings))
    , m_store(store)
    , m_checker(checker)
    , m_control(control)
    , m_clock(clock)
    , m_log(log)
    , m_nextAccountCheck(clock.steadyNow() + m_settings.accountCheckPeriod)
    , m_newInstallations(m_settings.maxNewInstallations, m_settings.newInstallationWindow)
    , m_newInstallationsByNetwork(
          m_settings.maxNewInstallationsPerNetwork, m_settings.newInstallationWindow)
    , m_connectLines(m_settings.loggedConnectsPerMinute, std::chrono::minutes(1))
    , m_accountFailures(m_settings.accountBackoff)
    , m_addressFailures(m_settings.addressBackoff)
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
    c.input = MessageInput(m_settings.maxMessageLength);
    c.id = id;
    c.port = port;
    c.address = address;
    c.arrivedAt = m_clock.steadyNow();
    c.lastReceived = c.arrivedAt;
    m_arrivals.emplace_back(id, c.arrivedAt);
    // Connections are logged one by one only while their address makes few of them: one that
    // reconnects without end gets one line for it, not three per connection.
    c.logged = m_connectLines.take(address, c.arrivedAt);
    if (c.logged) {
        m_unloggedAddresses.erase(address);
        m_log.line("connect #" + std::to_string(id) + " from " + address
            + (port == PortKind::Main ? "" : " (presence)"));
    } else if (m_unloggedAddresses.insert(address).second) {
        m_log.line("many connections from " + address + ": not logging each of them");
    }
    // A denied address has no business on the presence port; on the main port it still hears
    // why its login is refused (LOGINNG 8).
    if (port == PortKind::Presence && m_settings.denied.matches(address)) {
        m_log.line("closing presence #" + std::to_string(id) + ": address not allowed");
        closeConnection(c);
    }
}

void SharingServer::connectionClosed(ConnectionId id)
{
    Connection* c = find(id);
    if (!c)
        return;
    if (c->state == State::LoggedIn && c->port == PortKind::Main)
        endSession(*c, "disconnected");
    resumeSenders(*c);
    m_inputTotal -= c->heldInput;
    if (c->logged)
        m_log.line("disconnect #" + std::to_string(id));
    m_connections.erase(id);
}

void SharingServer::bytesReceived(ConnectionId id, std::string_view bytes)
{
    Connection* c = find(id);
    if (!c || c->state == State::Closing)
        return;
    c->lastReceived = m_clock.steadyNow();
    const MessageInput::Status status = c->input.feed(bytes);
    if (status != MessageInput::Status::Ok) {
        m_log.line("closing #" + std::to_string(id) + " from " + c->address + ": "
            + inputStatusText(status));
        closeConnection(*c);
        return;
    }
    process(*c);
    enforceMemoryBound();
}

bool SharingServer::holdsBack(const Connection& c)
{
    return c.state == State::Checking || c.storeBusy || c.waitingFor != 0;
}

void SharingServer::updatePause(Connection& c)
{
    const bool pause = c.state != State::Closing && holdsBack(c);
    if (pause != c.readPaused) {
        c.readPaused = pause;
        m_control.pauseReading(c.id, pause);
    }
}

void SharingServer::process(Connection& c)
{
    if (c.processing)
        return;
    c.processing = true;
    StringList message;
    // A login being checked, a database answer or a lagging receiver holds back the messages
    // behind it, so they are handled in order.
    while ((c.state == State::Fresh || c.state == State::LoggedIn) && !holdsBack(c)) {
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
    noteInput(c);
}

void SharingServer::handlePresence(Connection& c, const StringList& message)
{
    const std::string_view word = message.item(0).view();
    if (word == "VERSION") {
        answerVersion(c, message);
    } else if (word == "LOGIN" && c.state == State::Fresh) {
        const std::int64_t installation = leadingNumber(message.item(1).view());
        c.state = State::LoggedIn;
        const std::int64_t now = m_clock.unixNow();
        // Only notes when the installation was last seen; nothing waits for it.
        m_store.run([installation, now](
                        AccountStore& store) { return store.knowsInstallation(installation, now); },
            [this, id = c.id, installation](bool known) {
                m_log.line("presence #" + std::to_string(id) + " installation "
                    + std::to_string(installation) + (known ? "" : " (unknown)"));
            });
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
    if (!mayCheckLogin(c, name))
        return;
    // Checked here already to spare the hashing work; checked again when the verdict comes.
    if (m_settings.maxUsers > 0 && m_sessions.size() >= static_cast<size_t>(m_settings.maxUsers)
        && !online(name)) {
        refuse(c, TooManyUsers, name, "too many users");
        return;
    }
    c.state = State::Checking;
    updatePause(c);
    ++m_checksInFlight;
    ++m_checksByAddress[c.address];
    m_checker.check(name, message.item(2).str(),
        [this, id = c.id, name, address = c.address](
            LoginVerdict verdict) { loginChecked(id, name, address, verdict); });
}

bool SharingServer::mayCheckLogin(Connection& c, const std::string& name)
{
    const auto now = m_clock.steadyNow();
    struct Waiting {
        LoginBackoff* backoff;
        const std::string* key;
        const char* what;
    };
    // Refusals during a wait are not logged one by one: the wait's start was, and its first
    // refusal is.
    for (const Waiting& w : { Waiting { &m_accountFailures, &name, "account" },
             Waiting { &m_addressFailures, &c.address, "address" } }) {
        const auto wait = w.backoff->waitLeft(*w.key, now);
        if (wait.count() <= 0)
            continue;
        if (w.backoff->firstRefusal(*w.key)) {
            m_log.line(std::string("logins refused for the ") + w.what + " '" + printable(*w.key)
                + "' for " + std::to_string((wait.count() + 999) / 1000)
                + " s after failed logins");
        }
        send(c, words({ "LOGINNG", std::to_string(OtherRefusal) }));
        return false;
    }
    const auto limited = [](size_t count, size_t limit) { return limit > 0 && count >= limit; };
    const auto byAddress = m_checksByAddress.find(c.address);
    if (limited(m_checksInFlight, m_settings.maxLoginChecks)
        || limited(byAddress == m_checksByAddress.end() ? 0 : byAddress->second,
            m_settings.maxLoginChecksPerAddress)) {
        // A burst gets one line a second, with the number refused meanwhile.
        ++m_busyRefusals;
        if (now - m_busyLoggedAt >= std::chrono::seconds(1)) {
            m_log.line("login refused (7, too many password checks at once) for '" + printable(name)
                + "' #" + std::to_string(c.id) + " from " + c.address + "; "
                + std::to_string(m_busyRefusals) + " such refusals since the last line");
            m_busyLoggedAt = now;
            m_busyRefusals = 0;
        }
        send(c, words({ "LOGINNG", std::to_string(OtherRefusal) }));
        return false;
    }
    return true;
}

void SharingServer::loginChecked(
    ConnectionId id, const std::string& name, const std::string& address, LoginVerdict verdict)
{
    --m_checksInFlight;
    if (const auto it = m_checksByAddress.find(address);
        it != m_checksByAddress.end() && --it->second == 0)
        m_checksByAddress.erase(it);
    countLoginResult(name, address, verdict);
    Connection* c = find(id);
    if (!c || c->state != State::Checking)
        return; // gone or timed out meanwhile
    c->state = State::Fresh;
    updatePause(*c);
    switch (verdict) {
    case LoginVerdict::UnknownUser:
        refuse(*c, UnknownUser, name, "unknown user");
        break;
    case LoginVerdict::WrongPassword:
        refuse(*c, WrongPassword, name, "wrong password");
        break;
    case LoginVerdict::Failed:
        refuse(*c, OtherRefusal, name, "account database error");
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
    enforceMemoryBound();
}

void SharingServer::countLoginResult(
    const std::string& name, const std::string& address, LoginVerdict verdict)
{
    if (verdict == LoginVerdict::Accepted) {
        m_accountFailures.succeeded(name);
        m_addressFailures.succeeded(address);
        return;
    }
    if (verdict == LoginVerdict::Failed)
        return; // the database's fault, not the client's
    const auto now = m_clock.steadyNow();
    // Only real accounts are counted per account: made-up names must not grow the table.
    const auto accountWait = verdict == LoginVerdict::WrongPassword
        ? m_accountFailures.failed(name, now)
        : std::chrono::milliseconds(0);
    const auto addressWait = m_addressFailures.failed(address, now);
    if (accountWait.count() > 0 || addressWait.count() > 0) {
        m_log.line("failed login for '" + printable(name) + "' from " + address
            + ": the account waits " + std::to_string(accountWait.count()) + " ms, the address "
            + std::to_string(addressWait.count()) + " ms");
    }
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
    c.pingAllowance = TokenBucket(m_settings.maxPingRate, m_settings.pingBurst, c.lastActive);
    c.commentSentAt = c.lastActive - m_settings.commentInterval;
    c.commentPending = false;
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
    if (c.installation >= 0) {
        sendVersion(c);
        return;
    }
    // The database is asked off the loop; the connection's later messages wait for the answer.
    const std::int64_t claimed = leadingNumber(message.item(1).view());
    const std::int64_t now = m_clock.unixNow();
    c.storeBusy = true;
    updatePause(c);
    m_store.run(
        [claimed, now](AccountStore& store) { return store.knowsInstallation(claimed, now); },
        [this, id = c.id, claimed](bool known) { versionKnown(id, known, claimed); });
}

void SharingServer::versionKnown(ConnectionId id, bool known, std::int64_t claimed)
{
    Connection* c = find(id);
    if (!c || c->state == State::Closing)
        return;
    if (known) {
        versionAnswered(id, claimed, {});
        return;
    }
    const auto now = m_clock.steadyNow();
    const std::string network = networkOf(c->address);
    if (!m_newInstallations.allows(c->address, now)
        || !m_newInstallationsByNetwork.allows(network, now)) {
        // One address or network asking again and again would otherwise grow the database
        // without end.
        m_log.line("no new installation number for #" + std::to_string(id) + " from " + c->address
            + ": too many from this address or its network");
        versionAnswered(id, 0, {});
        return;
    }
    m_newInstallations.take(c->address, now);
    m_newInstallationsByNetwork.take(network, now);
    const std::int64_t unixNow = m_clock.unixNow();
    m_store.run(
        [unixNow](AccountStore& store) {
            const std::int64_t number = store.newInstallation(unixNow);
            return std::pair(number, number < 0 ? store.error() : std::string());
        },
        [this, id](std::pair<std::int64_t, std::string> made) {
            versionAnswered(id, made.first, made.second);
        });
}

void SharingServer::versionAnswered(
    ConnectionId id, std::int64_t installation, const std::string& error)
{
    Connection* c = find(id);
    if (!c || c->state == State::Closing)
        return;
    if (installation < 0)
        m_log.line("cannot record an installation number: " + error);
    c->installation = installation;
    c->storeBusy = false;
    updatePause(*c);
    sendVersion(*c);
    process(*c);
}

void SharingServer::sendVersion(Connection& c)
{
    StringList answer = words({ "VERSION", std::to_string(m_settings.latestVersion) });
    // Without a number the program keeps its own; 0 makes it ask for one at its next start.
    if (c.installation >= 0)
        answer.append(std::to_string(c.installation));
    send(c, answer);
}

void SharingServer::changeComment(Connection& c, const StringList& message)
{
    c.comment = cutText(message.item(1).view(), m_settings.maxCommentLength);
    if (m_clock.steadyNow() - c.commentSentAt >= m_settings.commentInterval) {
        passOnComment(c);
        return;
    }
    // Changes faster than the interval: only the latest is passed on, when the interval ends.
    if (!c.commentPending) {
        c.commentPending = true;
        m_pendingComments.push_back(c.id);
    }
}

void SharingServer::passOnComment(Connection& c)
{
    c.commentPending = false;
    c.commentSentAt = m_clock.steadyNow();
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
    if (framedLength(out) > m_settings.maxTellLength) {
        send(c, words({ "TELLNG", std::to_string(TooLongOrAbsent), "message too long" }));
        return;
    }
    deliver(c, *target, out);
    send(c, words({ "TELLOK" }));
}

void SharingServer::relay(Connection& c, const StringList& message)
{
    Connection* target = online(message.item(1).view());
    if (!target || message.count() < 2)
        return; // nobody to hand it to; the asker has no time-out and may ask again
    StringList out = message;
    out.itemRef(1) = ByteString(c.name);
    deliver(c, *target, out);
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
    if (!target || !c.pingAllowance.take(m_clock.steadyNow())) {
        send(c, words({ "PINGNG", message.item(1).view() }));
        return;
    }
    const std::uint64_t token = ++m_lastPingToken;
    target->pings.push_back(
        PendingPing { token, c.id, c.name, message.item(2).str(), m_clock.steadyNow() });
    if (target->pings.size() > m_settings.maxPendingPings)
        target->pings.erase(target->pings.begin());
    deliver(c, *target, words({ "PING", c.name, message.item(2).view(), std::to_string(token) }));
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
    std::string bytes = frameMessage(message);
    cleanFramed(bytes);
    m_control.send(c.id, bytes);
}

void SharingServer::broadcast(const StringList& message, ConnectionId except)
{
    std::string bytes = frameMessage(message);
    cleanFramed(bytes);
    for (const auto& [id, session] : m_sessions) {
        if (id != except)
            m_control.send(id, bytes);
    }
}

void SharingServer::deliver(Connection& from, Connection& to, const StringList& message)
{
    send(to, message);
    if (&from == &to || m_control.pendingOutput(to.id) <= m_settings.relayBacklogHigh)
        return;
    // The receiver lags: this sender waits for it, instead of the receiver being dropped for
    // what one sender piles onto it.
    from.waitingFor = to.id;
    updatePause(from);
    if (to.waitingSenders.empty()) {
        to.backlogSince = m_clock.steadyNow();
        m_laggingReceivers.push_back(to.id);
        m_control.watchOutput(to.id, m_settings.relayBacklogLow);
    }
    to.waitingSenders.push_back(from.id);
}

void SharingServer::outputDrained(ConnectionId id)
{
    if (Connection* c = find(id))
        resumeSenders(*c);
}

void SharingServer::resumeSenders(Connection& receiver)
{
    const std::vector<ConnectionId> senders = std::exchange(receiver.waitingSenders, {});
    std::erase(m_laggingReceivers, receiver.id);
    for (ConnectionId id : senders) {
        Connection* sender = find(id);
        if (!sender || sender->waitingFor != receiver.id)
            continue;
        sender->waitingFor = 0;
        updatePause(*sender);
        process(*sender);
    }
}

void SharingServer::dropStalledReceivers(std::chrono::milliseconds now)
{
    const std::vector<ConnectionId> lagging = m_laggingReceivers;
    for (ConnectionId id : lagging) {
        Connection* c = find(id);
        if (!c || now - c->backlogSince < m_settings.stallTimeout)
            continue;
        m_log.line("dropping #" + std::to_string(id) + " (" + c->name
            + "): it does not read what others send it");
        endSession(*c, "does not read");
        resumeSenders(*c);
        c->state = State::Closing;
        m_control.abort(id);
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

void SharingServer::noteInput(Connection& c)
{
    const size_t held = c.state == State::Closing ? 0 : c.input.held();
    m_inputTotal = m_inputTotal - c.heldInput + held;
    c.heldInput = held;
}

void SharingServer::enforceMemoryBound()
{
    if (m_settings.maxBuffered == 0)
        return;
    while (m_inputTotal + m_control.pendingOutputTotal() > m_settings.maxBuffered) {
        Connection* heaviest = nullptr;
        size_t weight = 0;
        for (auto& [id, c] : m_connections) {
            if (c.state == State::Closing)
                continue;
            const size_t w = c.heldInput + m_control.pendingOutput(id);
            if (w > weight) {
                weight = w;
                heaviest = &c;
            }
        }
        if (!heaviest)
            return;
        m_log.line("dropping #" + std::to_string(heaviest->id) + " from " + heaviest->address
            + ": it holds " + std::to_string(weight / 1024)
            + " KiB while the server's buffers are full");
        endSession(*heaviest, "buffers full");
        resumeSenders(*heaviest);
        heaviest->state = State::Closing;
        heaviest->input = MessageInput(
            m_settings.maxMessageLength); // its memory goes now, not when the close is reported
        noteInput(*heaviest);
        m_control.abort(heaviest->id);
    }
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
    const std::vector<ConnectionId> pending = std::exchange(m_pendingComments, {});
    for (ConnectionId id : pending) {
        Connection* c = find(id);
        if (!c || c->state != State::LoggedIn || !c->commentPending)
            continue;
        if (now - c->commentSentAt >= m_settings.commentInterval)
            passOnComment(*c);
        else
            m_pendingComments.push_back(id);
    }
    dropStalledReceivers(now);
    enforceMemoryBound();
    if (now < m_nextAccountCheck)
        return;
    m_nextAccountCheck = now + m_settings.accountCheckPeriod;
    m_newInstallations.forgetOld(now);
    m_newInstallationsByNetwork.forgetOld(now);
    m_connectLines.forgetOld(now);
    m_accountFailures.forgetOld(now);
    m_addressFailures.forgetOld(now);
    closeSilentPresence(now);
    checkAccounts();
}

void SharingServer::closeSilentPresence(std::chrono::milliseconds now)
{
    std::vector<ConnectionId> silent;
    for (const auto& [id, c] : m_connections) {
        if (c.port == PortKind::Presence && c.state == State::LoggedIn
            && now - c.lastReceived > m_settings.presenceTimeout)
            silent.push_back(id);
    }
    for (ConnectionId id : silent) {
        m_log.line("closing presence #" + std::to_string(id) + ": silent too long");
        closeConnection(*find(id));
    }
}

void SharingServer::checkAccounts()
{
    if (m_sessions.empty() || m_accountCheckRunning)
        return;
    std::vector<std::string> names;
    names.reserve(m_sessions.size());
    for (const auto& [id, session] : m_sessions)
        names.push_back(session->name);
    struct Lookup {
        std::optional<std::vector<std::string>> existing;
        std::string error;
        std::vector<std::string> names;
    };
    m_accountCheckRunning = true;
    m_store.run(
        [names = std::move(names)](AccountStore& store) mutable {
            Lookup lookup;
            lookup.existing = store.existingUsers(names);
            if (!lookup.existing)
                lookup.error = store.error();
            lookup.names = std::move(names);
            return lookup;
        },
        [this](Lookup lookup) {
            m_accountCheckRunning = false;
            if (!lookup.existing) {
                // Nobody is put off line on a failed lookup; the next check tries again.
                m_log.line("cannot check the accounts of logged-in users: " + lookup.error);
                return;
            }
            for (const std::string& name : lookup.names) {
                if (std::binary_search(lookup.existing->begin(), lookup.existing->end(), name))
                    continue;
                Connection* c = online(name);
                if (!c)
                    continue;
                endSession(*c, "account removed");
                // The user's own program learns of its end with the others, then it goes.
                send(*c, words({ "LOGOUT", name }));
                closeConnection(*c);
            }
        });
}
