#include "ui/capturecontroller.h"

#include "net/notices.h"
#include "platform/x11desktop.h"
#include "ui/capturewindow.h"
#include "ui/mainwindow.h"

CaptureController::CaptureController(MainWindow& frame, std::unique_ptr<TableDesktop> desktop)
    : QObject(&frame)
    , m_frame(frame)
    , m_desktop(std::move(desktop))
{
    connect(&frame, &MainWindow::captureScanDue, this, &CaptureController::scan);
    connect(&frame, &MainWindow::captureSwitched, this, [this](bool on) {
        if (!on)
            m_frame.notify(WindowNotice(WindowCaptureOff));
    });
}

CaptureController::~CaptureController() = default;

void CaptureController::scan()
{
    // The display is opened on the first scan, so that a program that never captures never
    // connects to it.
    if (!m_desktop)
        m_desktop = std::make_unique<X11Desktop>();
    tableScan(*m_desktop, *this);
}

void CaptureController::setDesktop(std::unique_ptr<TableDesktop> desktop)
{
    m_desktop = std::move(desktop);
}

int32_t CaptureController::notify(const Notice& notice)
{
    return m_frame.notify(notice);
}

void CaptureController::openCaptureWindow(const TableSnapshot& snapshot)
{
    auto window = std::make_unique<CaptureWindow>(snapshot, m_frame.app(), m_frame.document());
    ProtocolListener* made = m_frame.windows().createRegistered(std::move(window), &m_frame);
    if (!made)
        return;
    made->placeOnOpen(&m_frame);
    made->show();
}
