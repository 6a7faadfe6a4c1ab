#include "app/pavioneapp.h"

#include "app/aboutbox.h"
#include "app/librarydocument.h"
#include "app/qtprofilestore.h"
#include "library/profilestore.h"
#include "library/programdirectory.h"
#include "library/programversion.h"
#include "platform/japanesefont.h"
#include "ui/mainwindow.h"
#include "viewer/discbitmaps.h"
#include "viewer/sharedbrushes.h"
#include "viewer/sharedfonts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QThread>

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
}

PavioneApp::~PavioneApp()
{
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
    m_profile = std::make_unique<QtProfileStore>();
    preferJapaneseFont();

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
        QStringLiteral("Directory of the collection files (default: the program's directory)."),
        QStringLiteral("DIR"));
    parser.addOption(dataDir);
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return false;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);

    if (parser.isSet(dataDir)) {
        const QString dir = QDir(parser.value(dataDir)).absolutePath();
        // A data directory named on the command line may be new; the program's own always exists.
        QDir().mkpath(dir);
        m_programDirectory = programDirectoryFromUser(localPath(dir));
    } else {
        m_programDirectory = programDirectoryOf(localPath(QCoreApplication::applicationFilePath()));
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

    m_uiThread = m_frame->thread();
    m_frame->showNormal();
    m_frame->repaint();
    m_document->reportLoadProblems();
    return true;
}

void PavioneApp::exit()
{
    if (m_profile) {
        writeSettings(m_settings, *m_profile);
        m_profile->sync();
    }
    if (m_document)
        m_document->saveAtExit();
    m_frame.reset();
    m_document.reset();
}

void PavioneApp::setCaptureOn(bool on)
{
    if (m_captureOn == on)
        return;
    m_captureOn = on;
    emit captureChanged(on);
}

void PavioneApp::about()
{
    AboutBox box(m_frame.get());
    box.exec();
}
