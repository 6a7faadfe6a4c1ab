#include "app/pavioneapp.h"

#include "app/aboutbox.h"
#include "app/dialognetworkprompts.h"
#include "app/librarydocument.h"
#include "app/networkclient.h"
#include "app/qtprofilestore.h"
#include "library/profilestore.h"
#include "library/programdirectory.h"
#include "library/programversion.h"
#include "net/networksession.h"
#include "platform/japanesefont.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/mainwindow.h"
#include "viewer/discbitmaps.h"
#include "viewer/sharedbrushes.h"
#include "viewer/sharedfonts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QThread>
#include <QTranslator>

#include <cstdio>

namespace {

PavioneApp* runningApp = nullptr;

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

PavioneApp::PavioneApp(QObject* parent)
    : QObject(parent)
{
    runningApp = this;
    onCommand(CommandId::About, [this] { about(); });
    // The document reads nothing from the chosen file: opening shows the dialog and no more.
    onCommand(CommandId::FileOpen, [this] { QFileDialog::getOpenFileName(m_frame.get()); });
    onCommand(CommandId::Connect, [this] {
        if (m_network)
            m_network->connectToServer();
    });
    onCommand(CommandId::Disconnect, [this] {
        if (m_network)
            m_network->disconnect();
    });
    onCommand(CommandId::NetworkSettings, [this] {
        if (m_network)
            m_network->networkSettings();
    });
    onCommand(CommandId::HomePage, [this] {
        if (m_network)
            m_network->openHomePage();
    });
}

PavioneApp::~PavioneApp()
{
    m_network.reset();
    m_frame.reset();
    m_document.reset();
    if (runningApp == this)
        runningApp = nullptr;
}

PavioneApp* PavioneApp::instance()
{
    return runningApp;
}

bool PavioneApp::start(const QStringList& arguments)
{
    // There is no socket layer to prepare on this platform. The profile store is the user's
    // settings under the company key.
    QCoreApplication::setOrganizationName(QString::fromLatin1(
        profile::company.data(), static_cast<qsizetype>(profile::company.size())));
    QCoreApplication::setApplicationName(QStringLiteral("Pavione"));
    m_profile = m_settingsFile.isEmpty() ? std::make_unique<QtProfileStore>()
                                         : std::make_unique<QtProfileStore>(m_settingsFile);
    preferJapaneseFont();
    // The standard dialogs and buttons Qt provides speak the program's language.
    m_qtTranslations = std::make_unique<QTranslator>();
    if (m_qtTranslations->load(
            QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(m_qtTranslations.get());

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
        QStringLiteral("Directory of the collection files (default: the program's directory)."),
        QStringLiteral("DIR"));
    parser.addOption(dataDir);
    const QCommandLineOption server(QStringLiteral("server"),
        QStringLiteral("Host name of the sharing server for this run (default: the \"server\" "
                       "setting, at first localhost)."),
        QStringLiteral("HOST"));
    parser.addOption(server);
    const QCommandLineOption port(QStringLiteral("port"),
        QStringLiteral("The sharing server's main port (default 9292)."), QStringLiteral("N"));
    parser.addOption(port);
    const QCommandLineOption presencePort(QStringLiteral("presence-port"),
        QStringLiteral("The sharing server's presence port (default 9293)."), QStringLiteral("N"));
    parser.addOption(presencePort);
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return false;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    ServerEndpoint endpoint;
    for (const auto& [option, target] : { std::pair { &port, &endpoint.mainPort },
             std::pair { &presencePort, &endpoint.presencePort } }) {
        if (!parser.isSet(*option))
            continue;
        bool ok = false;
        const uint value = parser.value(*option).toUInt(&ok);
        if (!ok || value == 0 || value > 65535) {
            std::fprintf(stderr, "invalid port: %s\n", qPrintable(parser.value(*option)));
            return false;
        }
        *target = static_cast<uint16_t>(value);
    }

    if (parser.isSet(dataDir)) {
        const QString dir = QDir(parser.value(dataDir)).absolutePath();
        // A data directory named on the command line may be new; the program's own always exists.
        QDir().mkpath(dir);
        m_programDirectory = programDirectoryFromUser(localPath(dir));
    } else {
        m_programDirectory = programDirectoryOf(localPath(QCoreApplication::applicationFilePath()));
    }

    if (m_dataLock.acquire(m_programDirectory) == DataDirectoryLock::Status::Taken) {
        QMessageBox::critical(nullptr, fromSjis(texts::dataDirectoryInUseTitle.bytes()),
            fromSjis(texts::dataDirectoryInUse.bytes()));
        return false;
    }
    m_settings = readSettings(*m_profile);
    m_version = programversion::read(m_programDirectory);
    m_captureOn = m_settings.yahooauto != 0;

    m_imageList = std::make_unique<LibraryImageList>(*QApplication::style());
    m_cursors = std::make_unique<DragCursors>();
    // The board pictures' colours, fonts and discs, made once before the first window.
    SharedBrushes::instance();
    SharedFonts::instance();
    DiscBitmaps::instance();

    m_document = std::make_unique<LibraryDocument>(
        m_settings, m_programDirectory, m_clipboard, m_prompter);
    m_frame = std::make_unique<MainWindow>(*this, *m_document);
    connect(this, &PavioneApp::captureChanged, m_frame.get(), &MainWindow::updateToolBar);
    connect(this, &PavioneApp::captureChanged, m_frame.get(), &MainWindow::captureSwitched);

    // The host given on the command line holds for this run; the setting is written back as read.
    endpoint.host = parser.isSet(server) ? parser.value(server).toStdString() : m_settings.server;
    if (!m_networkPrompts) {
        m_dialogPrompts = std::make_unique<DialogNetworkPrompts>(m_frame.get());
        m_networkPrompts = m_dialogPrompts.get();
    }
    m_network = std::make_unique<NetworkClient>(*m_frame, *m_document, m_settings, *m_profile,
        endpoint, RunningProgramInfo { QCoreApplication::applicationFilePath(), m_version },
        *m_networkPrompts);
    m_frame->attachChat(m_network->session());

    m_uiThread = m_frame->thread();
    m_frame->show();
    m_frame->repaint();
    m_network->start();
    m_document->reportLoadProblems();
    return true;
}

void PavioneApp::exit(Teardown teardown)
{
    if (m_profile) {
        writeSettings(m_settings, *m_profile);
        m_profile->sync();
    }
    if (m_document)
        m_document->saveAtExit();
    m_network.reset();
    m_frame.reset();
    if (teardown == Teardown::processEnds)
        (void)m_document.release();
    m_document.reset();
}

void PavioneApp::setCaptureOn(bool on)
{
    if (m_captureOn == on)
        return;
    m_captureOn = on;
    emit captureChanged(on);
}

NetworkSession* PavioneApp::networkSession() const
{
    return m_network ? &m_network->session() : nullptr;
}

void PavioneApp::bringForward()
{
    if (!m_frame)
        return;
    m_frame->setWindowState(m_frame->windowState() & ~Qt::WindowMinimized);
    m_frame->show();
    m_frame->raise();
    m_frame->activateWindow();
}

void PavioneApp::about()
{
    AboutBox box(m_frame.get());
    box.exec();
}
