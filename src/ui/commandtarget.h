#pragma once

#include "ui/commandids.h"

#include <functional>
#include <unordered_map>

// What a menu item, toolbar button or accelerator shows for a command right now.
struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// A window or object on the command route (a view, the document, the main frame, the
// application). Each keeps a table of the commands it handles, with an optional update rule; the
// first target on the route whose table holds a command runs it and decides its state. A command
// that no target on the route handles is grayed.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    bool handlesCommand(CommandId id) const { return m_commands.count(id) != 0; }
    // The state of a command this target handles: enabled and unchecked unless its rule says so.
    CommandState commandState(CommandId id) const;
    void runCommand(CommandId id);

protected:
    using UpdateRule = std::function<void(CommandState&)>;
    void onCommand(CommandId id, std::function<void()> run, UpdateRule update = {});

private:
    struct Entry {
        std::function<void()> run;
        UpdateRule update;
    };
    std::unordered_map<CommandId, Entry> m_commands;
};
