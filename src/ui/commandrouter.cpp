#include "ui/commandrouter.h"

CommandTarget* CommandRouter::handlerFor(CommandId id, CommandTarget* view) const
{
    if (view && view->handlesCommand(id))
        return view;
    for (CommandTarget* target : m_tail) {
        if (target && target->handlesCommand(id))
            return target;
    }
    return nullptr;
}

CommandState CommandRouter::state(CommandId id, CommandTarget* view) const
{
    if (CommandTarget* target = handlerFor(id, view))
        return target->commandState(id);
    return CommandState { false, false };
}

bool CommandRouter::run(CommandId id, CommandTarget* view) const
{
    CommandTarget* target = handlerFor(id, view);
    if (!target || !target->commandState(id).enabled)
        return false;
    target->runCommand(id);
    return true;
}
