#pragma once

#include "ui/commandids.h"

#include <QKeySequence>
#include <vector>

class FixedText;

// One item of a menu table; a null label is a separator.
struct MenuItemDef {
    CommandId command;
    const FixedText* label;
};

struct MenuDef {
    const FixedText* title;
    std::vector<MenuItemDef> items;
};

// The pop-ups of the context-menu table, by position.
enum class ContextMenu {
    RecordList = 0,
    Kif,
    Folder,
    FolderTree,
    Dustbox,
    Network,
    NetPc,
    Multi,
    Yahoo,
    NetRecordList,
    DustboxKif,
};
inline constexpr int contextMenuCount = 11;

struct AcceleratorDef {
    QKeySequence keys;
    CommandId command;
};

// The menu bar, menu by menu. The texts of File > 開く show Ctrl+O, but there is no such
// accelerator: the shortcut column comes from the texts, never from key bindings.
const std::vector<MenuDef>& menuBarTable();
// The eleven context-menu pop-ups, indexed by ContextMenu.
const std::vector<MenuDef>& contextMenuTable();
// The keys of the main window; there is none for Ctrl+O.
const std::vector<AcceleratorDef>& acceleratorTable();
