#pragma once

#include "library/folderkey.h"
#include "net/networksession.h"
#include "net/noticelistener.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>
#include <string>

class DirApplication;
class FixedText;
class LibraryDocument;
class MainWindow;
class NetworkPrompts;
class ProfileStore;
class SharedFolderExchange;
struct LoginFields;
struct Settings;

// The message shown when the server refuses a login, by its reason code.
const FixedText& loginFailureText(int32_t reason);

// Where the program stands, for the updater: the running program and its version.
struct RunningProgramInfo {
    QString programPath; // the running program's full path
    int version = 30;
};

// The program's side of the sharing server: it owns the three connections (driven by the main
// window's 200 ms ticks, their events taken one per event-loop turn), logs in through the
// connect dialog, keeps the network computers collection in step with the server's user
// messages, asks other users for listings and answers theirs, and starts the updater when the
// server knows a newer version. Its notice handlers are the main window's own: they answer after
// the open windows.
class NetworkClient : public QObject, public NetworkSessionHost, public NoticeListener {
    Q_OBJECT
public:
    // A long listing is applied a slice of at most this long per event-loop turn.
    static constexpr std::chrono::milliseconds listingSlice { 20 };

    NetworkClient(MainWindow& frame, LibraryDocument& document, Settings& settings,
        ProfileStore& profile, ServerEndpoint endpoint, RunningProgramInfo program,
        NetworkPrompts& prompts);
    ~NetworkClient() override;

    NetworkSession& session() { return *m_session; }
    SharedFolderExchange& sharedFolders() { return *m_exchange; }

    // Start-up: the version check connection opens.
    void start();
    // 接続: the connect dialog, then the login unless a main connection exists.
    void connectToServer();
    // What OK of the connect dialog does with its fields: forgets saved credentials when saving
    // is off and opens the main connection (unless one exists).
    void login(const LoginFields& fields);
    // 切断.
    void disconnect();
    bool isConnected() const { return m_session->isConnected(); }
    // ネットワークの設定.
    void networkSettings();
    void openHomePage();
    QUrl homePage() const;
    QUrl registrationPage() const;

    // Asks the folder's user for its listing when it is older than the listing lifetime (or
    // always, when forced); nothing for folders outside the network computers, the news and
    // the collection root.
    void requestListing(FolderKey folder, bool force);
    // A DIR is being added to its folder over several event-loop turns.
    bool applyingListing() const { return m_listing != nullptr; }

    // NetworkSessionHost.
    int32_t notify(const Notice& notice) override;
    void mainDisconnected() override;
    void versionChecked(int32_t latestVersion, std::optional<int32_t> installation) override;

    // The main window's own handlers of this client's notices.
    int32_t onLoginOk(const LoginOkNotice& notice, int32_t count) override;
    int32_t onLoginNg(const LoginNgNotice& notice, int32_t count) override;
    int32_t onAllUser(const AllUserNotice& notice, int32_t count) override;
    int32_t onLogin(const LoginNotice& notice, int32_t count) override;
    int32_t onLogout(const LogoutNotice& notice, int32_t count) override;
    int32_t onModComment(const ModCommentNotice& notice, int32_t count) override;

signals:
    // A listing was applied whole (its last slice ran).
    void listingApplied(FolderKey folder);

private:
    void showConnectDialog(bool afterFailure);
    void receiveXTell(const StringList& message);
    void continueListing();
    void startUpdate();

    MainWindow& m_frame;
    LibraryDocument& m_document;
    Settings& m_settings;
    ProfileStore& m_profile;
    RunningProgramInfo m_program;
    NetworkPrompts& m_prompts;
    std::unique_ptr<NetworkSession> m_session;
    std::unique_ptr<SharedFolderExchange> m_exchange;
    std::unique_ptr<DirApplication> m_listing;
    // What the connect dialog gave last: the name to offer again after a failed login, the
    // password and whether to save both once the login succeeds.
    std::string m_lastUser;
    std::string m_password;
    bool m_saveCredentials = false;
};
