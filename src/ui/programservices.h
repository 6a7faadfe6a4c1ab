#pragma once

#include "ui/commandtarget.h"

class DragCursors;
class LibraryImageList;
class NetworkSession;

// What the windows need of the application: the pictures and cursors the whole program shares and
// the capture switch. The application is the last stop of the command route.
class ProgramServices : public CommandTarget {
public:
    virtual const LibraryImageList& imageList() const = 0;
    virtual const DragCursors& cursors() const = 0;
    virtual bool captureOn() const = 0;
    // Turns capture on or off; the application tells the main window so its buttons follow.
    virtual void setCaptureOn(bool on) = 0;
    // The sound of a table whose second seat was taken.
    virtual void playTableReady() = 0;
    // The sound of a chat message that arrived.
    virtual void playMessageArrived() = 0;
    // The program's connections to the sharing server, or null when the program runs without
    // them. Windows send through it and register their message handlers on its dispatcher.
    virtual NetworkSession* networkSession() const = 0;
};
