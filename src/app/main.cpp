#include "app/pavioneapp.h"
#include "platform/singleinstance.h"
#include "platform/terminationsignals.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("wenk"));
    QCoreApplication::setApplicationName(QStringLiteral("Pavione"));
    // One copy per user and settings: a second start brings the first forward and quits.
    SingleInstance instance(QSettings().fileName());
    if (instance.askRunningCopy())
        return 0;
    instance.listen();

    PavioneApp app;
    QObject::connect(&instance, &SingleInstance::forwardRequested, &app, &PavioneApp::bringForward);
    if (!app.start(QApplication::arguments()))
        return 1;
    quitOnTerminationSignals();
    const int status = QApplication::exec();
    app.exit(PavioneApp::Teardown::processEnds);
    return status;
}
