#pragma once

// The identifiers of every command of the menus, the toolbar, the accelerators and the context
// menus. Their numbers are fixed: several identifiers share a text but are handled differently by
// the folder tree and the record list, so the number, not the text, says what a command does.
enum class CommandId : int {
    None = 0, // a separator in a menu table

    NewFolder = 32771,
    NewRecord = 32772,
    UnusedProperties32773 = 32773, // no menu shows it; the record list has an empty handler
    OpenRecord = 32774,
    DeleteItems = 32775,
    EditRecord = 32776,
    RecordProperties = 32777,
    OpenFolderRow = 32778,
    DeleteFolderRow = 32779,
    RenameFolderRow = 32780,
    RenameRecordRow = 32781,
    UnusedProperties32782 = 32782, // no menu shows it; the record list has an empty handler
    ParentFolder = 32783,
    OpenFolder = 32784,
    Search = 32785,
    Share = 32786,
    DeleteFolder = 32787,
    RenameFolder = 32788,
    FolderProperties = 32789,
    Save = 32790,
    OpenTrash = 32791,
    EmptyTrash = 32792,
    TrashSettings = 32793,
    Connect = 32794,
    Disconnect = 32795,
    NetworkSettings = 32796,
    OpenComputer = 32797,
    ComputerProperties = 32798,
    Chat = 32799,
    CutItems = 32800,
    CopyItems = 32801,
    CutFolder = 32802,
    CopyFolder = 32803,
    PasteIntoFolder = 32804,
    SelectAll = 32805,
    CaptureSettings = 32807,
    CaptureStart = 32808,
    CaptureStop = 32809,
    Refresh = 32814,
    HomePage = 32817,
    DeleteForGood = 32819,
    TrashItemProperties = 32820,
    ExportKa = 32821,

    FileNew = 57600,
    FileOpen = 57601,
    EditCopy = 57634,
    EditCut = 57635,
    EditPaste = 57637,
    About = 57664,
    AppExit = 57665,
    NextPane = 57680,
    PreviousPane = 57681,
    ViewToolbar = 59392,
    ViewStatusBar = 59393,
};
