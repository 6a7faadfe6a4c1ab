#pragma once

#include "ui/commandtarget.h"

#include <vector>

// Carries a command along its route: first the view that has the focus or owns the pop-up menu,
// then the fixed tail of the document, the main frame and the application.
class CommandRouter {
public:
    void setTail(std::vector<CommandTarget*> tail) { m_tail = std::move(tail); }

    // The first target on the route that handles the command, or null.
    CommandTarget* handlerFor(CommandId id, CommandTarget* view) const;
    // The command's state as its handler sees it; grayed when nothing on the route handles it.
    CommandState state(CommandId id, CommandTarget* view) const;
    // Runs the command when it is handled and enabled; returns whether it ran.
    bool run(CommandId id, CommandTarget* view) const;

private:
    std::vector<CommandTarget*> m_tail;
};
