#include "app/pavioneapp.h"
#include "platform/terminationsignals.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    PavioneApp app;
    if (!app.start(QApplication::arguments()))
        return 1;
    quitOnTerminationSignals();
    const int status = QApplication::exec();
    app.exit(PavioneApp::Teardown::processEnds);
    return status;
}
