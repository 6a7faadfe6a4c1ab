#include "ui/protocollistener.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

ProtocolListener::ProtocolListener()
    : m_children(childWindows(), this)
{
    // A dialog frame: a title and a close button. Windows that can be minimized or resized add
    // their buttons themselves.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The program ends when the main window closes, whatever modeless windows are still open;
    // the frame's registry destroys them then.
    setAttribute(Qt::WA_QuitOnClose, false);
}

ProtocolListener::~ProtocolListener()
{
    // The children go while this window is still whole: they may ask this window to close them
    // on their way out.
    m_children.destroyAll();
}

bool ProtocolListener::create(MainWindow* gateway, QWidget* parent)
{
    m_gateway = gateway;
    if (parent) {
        // Above the parent, but owned by the registry alone: a Qt parent would delete it too.
        winId();
        if (QWindow* handle = windowHandle())
            handle->setTransientParent(parent->window()->windowHandle());
    }
    if (!initDialog())
        return false;
    m_initialClientSize = size();
    return true;
}

void ProtocolListener::comeForward()
{
    showNormal();
    raise();
    activateWindow();
}

void ProtocolListener::placeOnOpen(const QWidget* frame)
{
    const QSize own = frameGeometry().size().expandedTo(size());
    QRect area;
    if (frame && frame->isVisible())
        area = frame->frameGeometry();
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - QPoint(own.width() / 2, own.height() / 2));
}

void ProtocolListener::destroyWindow()
{
    hide();
}

void ProtocolListener::done(int result)
{
    setResult(result);
    if (ownerRegistry())
        requestClose();
    else
        QDialog::done(result);
}
