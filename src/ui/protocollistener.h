#pragma once

#include "net/registeredlistener.h"
#include "ui/windowregistry.h"

#include <QDialog>
#include <QSize>

class MainWindow;

// The base of every modeless window: a dialog that answers the notices it cares about through the
// typed handlers, holds its own child windows, and never deletes itself. Its close button, Escape,
// OK and Cancel all end in a close request that the registry holding it processes later, on the
// event loop, so a window never disappears while a broadcast walks the registry.
//
// The window's controls are built by create() (the registry's create-registered), not by the
// constructor, so that a window that cannot be made is reported and removed like any other.
class ProtocolListener : public QDialog, public RegisteredListener {
    Q_OBJECT
public:
    ProtocolListener();
    ~ProtocolListener() override;

    // Builds the window: stores the gateway (the main frame, through which the window reaches the
    // connections; may be null) and, when given, keeps the window above parent without making it
    // a child. False when the controls could not be built.
    bool create(MainWindow* gateway, QWidget* parent = nullptr);
    MainWindow* gateway() const { return m_gateway; }
    // The windows this one opened itself; their close requests come back to it.
    WindowRegistry& children() { return m_children; }
    // The size the window had when it was built, or (-1, -1) before; windows that lay out their
    // controls by hand keep distances to the right and bottom edges from it.
    QSize initialClientSize() const { return m_initialClientSize; }

    // What a window does when a find query names it: shows itself normally and takes the focus.
    void comeForward();
    // Where find-or-create puts the new window before showing it: centred on the frame.
    virtual void placeOnOpen(const QWidget* frame);

    void destroyWindow() override;

protected:
    // Builds the controls; false when the window cannot be made.
    virtual bool initDialog() = 0;
    // accept() and reject() end here: a registered window asks to be closed and stays as it is
    // until its owner removes it; a window that no registry holds just hides.
    void done(int result) override;

private:
    MainWindow* m_gateway = nullptr;
    WindowRegistry m_children;
    QSize m_initialClientSize { -1, -1 };
};
