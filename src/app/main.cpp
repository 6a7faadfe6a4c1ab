#include "platform/sjis.h"
#include "text/texts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("wenk"));
    QApplication::setApplicationName(QStringLiteral("Pavione"));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
        QStringLiteral("Directory of the collection files (default: the program's directory)."),
        QStringLiteral("DIR"));
    parser.addOption(dataDir);
    parser.process(app);

    QMainWindow window;
    window.setWindowTitle(fromSjis(texts::programTitle.bytes()));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
