#pragma once

#include "app/soundplayer.h"
#include "library/datadirectorylock.h"
#include "library/settings.h"
#include "ui/dragcursors.h"
#include "ui/internalclipboard.h"
#include "ui/libraryimagelist.h"
#include "ui/programservices.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <string>

class MainWindow;
class LibraryDocument;
class NetworkClient;
class NetworkPrompts;
class QThread;
class QTranslator;
class QtProfileStore;
class UserPrompter;

// The application object: it starts the program (settings, version, shared pictures and cursors,
// the document and the main window), holds what the whole program shares, and writes the settings
// back at exit. It is the last stop of the command route. One exists at a time.
class PavioneApp : public QObject, public ProgramServices {
    Q_OBJECT
public:
    explicit PavioneApp(QObject* parent = nullptr);
    ~PavioneApp() override;

    // The running application object, or null outside start() .. destruction.
    static PavioneApp* instance();

    // The start-up sequence over the program's command line (arguments[0] is the program);
    // "--data-dir DIR" replaces the program's directory as the home of the program's files;
    // "--server HOST" replaces the sharing server's host name for this run ("--port N" and
    // "--presence-port N" its ports). False ends the process.
    bool start(const QStringList& arguments);
    // What exit() leaves behind.
    enum class Teardown {
        full, // nothing: the main window and the document are destroyed
        // The document is left for the end of the process, which takes its memory back at once:
        // freeing a million records one by one takes longer than saving them.
        processEnds,
    };
    // Writes the settings back, then saves the library and closes the main window and the
    // document.
    void exit(Teardown teardown = Teardown::full);
    // Where the document's questions go instead of message boxes; set before start().
    void setPrompter(UserPrompter* prompter) { m_prompter = prompter; }
    // Where the network client's dialogs and messages go instead; set before start().
    void setNetworkPrompts(NetworkPrompts* prompts) { m_networkPrompts = prompts; }
    // Keeps the settings in this INI file instead of the user's store; set before start(). Lets
    // two programs with settings of their own run in one process.
    void setSettingsFile(const QString& iniFile) { m_settingsFile = iniFile; }

    const LibraryImageList& imageList() const override { return *m_imageList; }
    // The directory of the program's files, with its trailing '/'.
    const std::string& programDirectory() const { return m_programDirectory; }
    // The version number from the version file, at least 30.
    int version() const { return m_version; }
    const DragCursors& cursors() const override { return *m_cursors; }
    Settings& settings() { return m_settings; }
    bool captureOn() const override { return m_captureOn; }
    void setCaptureOn(bool on) override;
    void playTableReady() override { m_sounds.play(SoundPlayer::TableReady); }
    void playMessageArrived() override { m_sounds.play(SoundPlayer::MessageArrived); }
    // The thread of the user interface, known once the main window exists.
    QThread* uiThread() const { return m_uiThread; }

    LibraryDocument* document() const { return m_document.get(); }
    MainWindow* mainFrame() const { return m_frame.get(); }
    // The client of the sharing server, null outside start() .. exit().
    NetworkClient* networkClient() const { return m_network.get(); }
    NetworkSession* networkSession() const override;
    // The main window comes to the front, restored when minimised (a second start asked).
    void bringForward();
    SoundPlayer& sounds() { return m_sounds; }
    // The program's own cut, copy and clipboard text state.
    InternalClipboard& internalClipboard() { return m_clipboard; }

    // Shows the about box (modal).
    void about();

signals:
    void captureChanged(bool on);

private:
    std::unique_ptr<LibraryImageList> m_imageList;
    std::string m_programDirectory;
    int m_version = 0;
    std::unique_ptr<DragCursors> m_cursors;
    Settings m_settings;
    InternalClipboard m_clipboard;
    bool m_captureOn = false;
    QThread* m_uiThread = nullptr;

    UserPrompter* m_prompter = nullptr;
    NetworkPrompts* m_networkPrompts = nullptr;
    QString m_settingsFile;
    // Held for the whole run: a second program on the same files would overwrite them at exit.
    DataDirectoryLock m_dataLock;
    std::unique_ptr<QtProfileStore> m_profile;
    std::unique_ptr<QTranslator> m_qtTranslations;
    std::unique_ptr<LibraryDocument> m_document;
    std::unique_ptr<MainWindow> m_frame;
    std::unique_ptr<NetworkPrompts> m_dialogPrompts;
    std::unique_ptr<NetworkClient> m_network;
    SoundPlayer m_sounds;
};
