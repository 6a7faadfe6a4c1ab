#pragma once

#include "capture/tabledesktop.h"
#include "capture/tablescan.h"

#include <QObject>

#include <memory>

class MainWindow;

// Capture on the desktop: while it is on, one table scan on each of the main window's scan ticks,
// with a capture window for every table no window claims; when it goes off, the capture windows
// are told (window notice 14) and close.
class CaptureController : public QObject, public TableScanSink {
    Q_OBJECT
public:
    // Watches the frame's application for capture going on and off. The desktop is the X11
    // display unless one is given (tests give a desktop of pictures).
    explicit CaptureController(MainWindow& frame, std::unique_ptr<TableDesktop> desktop = nullptr);
    ~CaptureController() override;

    // One pass over the desktop's table windows.
    void scan();
    // Reads another desktop from the next scan on.
    void setDesktop(std::unique_ptr<TableDesktop> desktop);

    int32_t notify(const Notice& notice) override;
    void openCaptureWindow(const TableSnapshot& snapshot) override;

private:
    MainWindow& m_frame;
    std::unique_ptr<TableDesktop> m_desktop;
};
