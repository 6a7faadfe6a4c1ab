#include "ui/commandtarget.h"

CommandState CommandTarget::commandState(CommandId id) const
{
    CommandState state;
    const auto it = m_commands.find(id);
    if (it != m_commands.end() && it->second.update)
        it->second.update(state);
    return state;
}

void CommandTarget::runCommand(CommandId id)
{
    const auto it = m_commands.find(id);
    if (it != m_commands.end() && it->second.run)
        it->second.run();
}

void CommandTarget::onCommand(CommandId id, std::function<void()> run, UpdateRule update)
{
    m_commands.insert_or_assign(id, Entry { std::move(run), std::move(update) });
}
