#include "app/networkclient.h"

#include "app/librarydocument.h"
#include "app/networkprompts.h"
#include "library/profilestore.h"
#include "library/programdirectory.h"
#include "library/recordlibrary.h"
#include "library/settings.h"
#include "library/sharedfolders.h"
#include "net/noticerouting.h"
#include "net/notices.h"
#include "net/outgoingmessages.h"
#include "net/passwordscramble.h"
#include "net/updatecommand.h"
#include "platform/qtsocketport.h"
#include "text/texts.h"
#include "ui/chatpane.h"
#include "ui/connectdialog.h"
#include "ui/foldertreeview.h"
#include "ui/mainwindow.h"
#include "ui/recordlistview.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

#include <ctime>

namespace {

uint32_t tickCount()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int32_t calendarNow()
{
    return static_cast<int32_t>(std::time(nullptr));
}

QString hostOf(const ServerEndpoint& endpoint)
{
    return QString::fromStdString(endpoint.host);
}

} // namespace

const FixedText& loginFailureText(int32_t reason)
{
    switch (reason) {
    case 5:
    case 6:
        return texts::loginWrongPassword;
    case 8:
        return texts::loginHostDenied;
    case 9:
        return texts::loginTimedOut;
    case 10:
        return texts::loginTooManyUsers;
    default:
        return texts::loginRefused;
    }
}

NetworkClient::NetworkClient(MainWindow& frame, LibraryDocument& document, Settings& settings,
    ProfileStore& profile, ServerEndpoint endpoint, RunningProgramInfo program,
    NetworkPrompts& prompts)
    : m_frame(frame)
    , m_document(document)
    , m_settings(settings)
    , m_profile(profile)
    , m_program(std::move(program))
    , m_prompts(prompts)
{
    m_session = std::make_unique<NetworkSession>(
        std::move(endpoint), [] { return std::make_unique<QtSocketPort>(); }, tickCount, *this);
    m_session->setInstallationNumber(m_settings.serialCode);
    m_exchange = std::make_unique<SharedFolderExchange>(
        document.library(), document.operations(), document, document);

    // One connection event per event-loop turn, as one posted window message would be: a modal
    // dialog opened by a handler keeps the events after it flowing in their order.
    m_session->events().setWakeUp([this] {
        QMetaObject::invokeMethod(
            this, [this] { m_session->processNextEvent(); }, Qt::QueuedConnection);
    });
    routeNotices(m_session->dispatcher(), [this](const Notice& notice) { return notify(notice); });
    m_session->dispatcher().setHandler(
        IdXTell, [this](const StringList& message) { receiveXTell(message); });

    connect(&m_frame, &MainWindow::everyFourthTick, this, [this] { m_session->networkTick(); });
    RecordListView* list = m_frame.recordListView();
    connect(list, &RecordListView::folderShown, this,
        [this](FolderKey folder) { requestListing(folder, false); });
    connect(list, &RecordListView::refreshRequested, this,
        [this](FolderKey folder) { requestListing(folder, true); });
}

NetworkClient::~NetworkClient()
{
    m_listing.reset();
    // The connections close without telling the windows, which are going too.
    m_session.reset();
}

void NetworkClient::start()
{
    m_session->startVersionCheck();
}

QUrl NetworkClient::homePage() const
{
    return QUrl(QStringLiteral("http://%1/").arg(hostOf(m_session->endpoint())));
}

QUrl NetworkClient::registrationPage() const
{
    return QUrl(QStringLiteral("http://%1/user/register.cgi").arg(hostOf(m_session->endpoint())));
}

void NetworkClient::openHomePage()
{
    m_prompts.openPage(homePage());
}

void NetworkClient::connectToServer()
{
    showConnectDialog(false);
}

void NetworkClient::showConnectDialog(bool afterFailure)
{
    const std::string savedUser = m_profile.getString(settingkeys::login, "");
    const std::string savedPassword
        = unscramblePassword(m_profile.getString(settingkeys::passwd, ""));
    LoginFields fields = connectDialogFill(savedUser, savedPassword, afterFailure, m_lastUser);
    if (!m_prompts.askLogin(fields, registrationPage()))
        return;
    login(fields);
}

void NetworkClient::login(const LoginFields& fields)
{
    m_lastUser = fields.user;
    m_password = fields.password;
    m_saveCredentials = fields.save;
    if (!fields.save) {
        m_profile.setString(settingkeys::login, "");
        m_profile.setString(settingkeys::passwd, "");
    }
    m_session->connectMain(fields.user, fields.password);
}

void NetworkClient::disconnect()
{
    m_session->disconnect();
}

void NetworkClient::networkSettings()
{
    std::string description = m_settings.compcmt;
    bool bell = m_settings.chatbell != 0;
    if (!m_prompts.askNetworkSettings(description, bell))
        return;
    m_settings.chatbell = bell ? 1 : 0;
    if (description == m_settings.compcmt)
        return;
    m_settings.compcmt = description;
    if (m_session->isConnected())
        m_session->sendMain(modCommentMessage(description));
}

void NetworkClient::requestListing(FolderKey folder, bool force)
{
    if (!m_session->isConnected() || folder.collection != networkCollection)
        return;
    if (!force && !m_exchange->listingDue(folder.folder, calendarNow()))
        return;
    if (const std::optional<ListingRequest> request = m_exchange->listingRequest(folder.folder))
        m_session->sendMain(getDirMessage(request->user, request->path));
}

int32_t NetworkClient::notify(const Notice& notice)
{
    // The open windows first, then the frame's own handlers, which live here.
    const int32_t count = m_frame.notify(notice);
    return count + countHandler(*this, notice, count);
}

void NetworkClient::mainDisconnected()
{
    m_frame.chatPane()->setOffline(true);
    // A listing half applied belongs to a collection that is about to empty.
    m_listing.reset();
    m_frame.notify(WindowNotice(WindowFolderRemoved, libraryNoticeKey(networkCollection, 0)));
    m_exchange->clear();
    // No main connection is left, so this only lets the next connection's messages through.
    if (m_session->dispatchHeld())
        m_session->resumeDispatch();
}

void NetworkClient::versionChecked(int32_t latestVersion, std::optional<int32_t> installation)
{
    if (installation)
        m_settings.serialCode = *installation;
    if (m_program.version < latestVersion)
        startUpdate();
}

void NetworkClient::startUpdate()
{
    m_prompts.warn(texts::updateTitle, texts::updateFound);
    const std::string programPath = QFile::encodeName(m_program.programPath).toStdString();
    const std::string directory = programDirectoryOf(programPath);
    const std::string updater = directory + std::string(updaterProgram);
    // The command line is "updater host patch/NNN program"; host and patch hold no space, so it
    // splits back into its arguments even when the program's path has spaces.
    const std::string line
        = updateCommandLine(directory, m_session->endpoint().host, m_program.version, programPath);
    const std::string rest = line.substr(updater.size() + 1);
    const size_t hostEnd = rest.find(' ');
    const size_t patchEnd = rest.find(' ', hostEnd + 1);
    const QStringList arguments { QString::fromStdString(rest.substr(0, hostEnd)),
        QString::fromStdString(rest.substr(hostEnd + 1, patchEnd - hostEnd - 1)),
        QFile::decodeName(QByteArray::fromStdString(rest.substr(patchEnd + 1))) };
    // A failure to start the updater is not reported: the program ends all the same.
    (void)m_prompts.startProgram(QFile::decodeName(QByteArray::fromStdString(updater)), arguments);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

int32_t NetworkClient::onLoginOk(const LoginOkNotice&, int32_t)
{
    if (m_saveCredentials) {
        m_profile.setString(settingkeys::login, m_session->user());
        m_profile.setString(settingkeys::passwd, scramblePassword(m_password));
    }
    if (!m_settings.compcmt.empty())
        m_session->sendMain(modCommentMessage(m_settings.compcmt));
    m_frame.chatPane()->setOffline(false);
    return noticeIgnored;
}

int32_t NetworkClient::onLoginNg(const LoginNgNotice& notice, int32_t)
{
    m_session->dispatcher().stopBatch();
    m_session->disconnect();
    // The message and the dialog wait for the dispatch to end: they run their own event loops.
    const int32_t reason = notice.reason;
    QTimer::singleShot(0, this, [this, reason] {
        m_prompts.warn(texts::loginFailedTitle, loginFailureText(reason));
        showConnectDialog(true);
    });
    return noticeIgnored;
}

int32_t NetworkClient::onAllUser(const AllUserNotice& notice, int32_t)
{
    m_exchange->applyUserList(notice.users);
    m_frame.folderTreeView()->expandFolder({ networkCollection, 0 });
    return noticeIgnored;
}

int32_t NetworkClient::onLogin(const LoginNotice& notice, int32_t)
{
    m_exchange->userLoggedIn(notice.user.view(), notice.loginTime);
    return noticeIgnored;
}

int32_t NetworkClient::onLogout(const LogoutNotice& notice, int32_t)
{
    m_exchange->userLoggedOut(notice.user.view());
    return noticeIgnored;
}

int32_t NetworkClient::onModComment(const ModCommentNotice& notice, int32_t)
{
    m_exchange->commentChanged(notice.user.view(), notice.comment.str());
    return noticeIgnored;
}

void NetworkClient::receiveXTell(const StringList& message)
{
    const std::string_view word = message.item(2).view();
    if (word == "GETDIR") {
        m_session->sendMain(m_exchange->answerGetDir(message));
    } else if (word == "DIR") {
        std::unique_ptr<DirApplication> listing = m_exchange->beginDir(message, calendarNow());
        if (!listing)
            return;
        // The records go in over as many event-loop turns as they take; messages that arrive
        // meanwhile wait in the connection so that they keep their order.
        m_listing = std::move(listing);
        m_session->holdDispatch();
        QTimer::singleShot(0, this, &NetworkClient::continueListing);
    }
}

void NetworkClient::continueListing()
{
    if (!m_listing)
        return;
    if (!m_listing->run(listingSlice)) {
        QTimer::singleShot(0, this, &NetworkClient::continueListing);
        return;
    }
    const FolderKey folder { networkCollection, m_listing->folder() };
    m_listing.reset();
    emit listingApplied(folder);
    m_session->resumeDispatch();
}
