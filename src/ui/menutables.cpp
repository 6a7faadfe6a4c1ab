#include "ui/menutables.h"

#include "text/texts.h"

namespace {

constexpr MenuItemDef separator { CommandId::None, nullptr };

} // namespace

const std::vector<MenuDef>& menuBarTable()
{
    using C = CommandId;
    static const std::vector<MenuDef> table {
        { &texts::menuFile,
            {
                { C::FileOpen, &texts::menuFileOpen },
                { C::Save, &texts::menuFileSave },
                separator,
                { C::AppExit, &texts::menuAppExit },
            } },
        { &texts::menuEdit,
            {
                { C::EditCut, &texts::menuEditCut },
                { C::EditCopy, &texts::menuEditCopy },
                { C::EditPaste, &texts::menuEditPaste },
            } },
        { &texts::menuView,
            {
                { C::ViewToolbar, &texts::menuViewToolbar },
                { C::ViewStatusBar, &texts::menuViewStatusBar },
            } },
        { &texts::menuSettings,
            {
                { C::CaptureSettings, &texts::menuCaptureSettings },
                { C::TrashSettings, &texts::menuTrashSettings },
                { C::NetworkSettings, &texts::menuNetworkSettings },
            } },
        { &texts::menuHelp,
            {
                { C::HomePage, &texts::menuHomePage },
                separator,
                { C::About, &texts::menuAbout },
            } },
    };
    return table;
}

const std::vector<MenuDef>& contextMenuTable()
{
    using C = CommandId;
    namespace t = texts;
    // The pop-ups have no titles of their own; the order is their position.
    static const std::vector<MenuDef> table {
        // record list
        { nullptr,
            { { C::ParentFolder, &t::popupParentFolder }, separator,
                { C::EditPaste, &t::popupPaste }, separator, { C::NewFolder, &t::popupNewFolder },
                { C::NewRecord, &t::popupNewRecord }, separator,
                { C::FolderProperties, &t::popupPropertiesR } } },
        // kif
        { nullptr,
            { { C::OpenRecord, &t::popupOpen }, { C::EditRecord, &t::popupEdit }, separator,
                { C::CutItems, &t::popupCut }, { C::CopyItems, &t::popupCopy }, separator,
                { C::DeleteItems, &t::popupDelete }, { C::RenameRecordRow, &t::popupRename },
                separator, { C::RecordProperties, &t::popupPropertiesP } } },
        // folder
        { nullptr,
            { { C::OpenFolderRow, &t::popupOpen }, separator, { C::EditPaste, &t::popupPaste },
                separator, { C::DeleteFolderRow, &t::popupDelete },
                { C::RenameFolderRow, &t::popupRename }, separator,
                { C::FolderProperties, &t::popupPropertiesR } } },
        // folder tree
        { nullptr,
            { { C::OpenFolder, &t::popupOpen }, { C::Search, &t::popupSearch }, separator,
                { C::Share, &t::popupShare }, separator, { C::CutFolder, &t::popupCut },
                { C::CopyFolder, &t::popupCopy }, { C::PasteIntoFolder, &t::popupPaste }, separator,
                { C::DeleteFolder, &t::popupDelete }, { C::RenameFolder, &t::popupRename },
                separator, { C::ExportKa, &t::popupExportKa }, separator,
                { C::FolderProperties, &t::popupPropertiesR } } },
        // dustbox
        { nullptr,
            { { C::OpenTrash, &t::popupOpen }, { C::EmptyTrash, &t::popupEmptyTrash }, separator,
                { C::TrashSettings, &t::popupPropertiesP } } },
        // network
        { nullptr,
            { { C::Connect, &t::popupConnect }, { C::Disconnect, &t::popupDisconnect }, separator,
                { C::NetworkSettings, &t::popupPropertiesP } } },
        // netpc
        { nullptr,
            { { C::OpenComputer, &t::popupOpen }, { C::Chat, &t::popupChat }, separator,
                { C::ComputerProperties, &t::popupPropertiesP } } },
        // multi
        { nullptr,
            { { C::CutItems, &t::popupCut }, { C::CopyItems, &t::popupCopy }, separator,
                { C::DeleteItems, &t::popupDelete }, separator,
                { C::RecordProperties, &t::popupPropertiesP } } },
        // yahoo
        { nullptr,
            { { C::OpenFolder, &t::popupOpen }, separator,
                { C::CaptureStart, &t::popupCaptureStart },
                { C::CaptureStop, &t::popupCaptureStop }, separator,
                { C::CaptureSettings, &t::popupPropertiesR } } },
        // network record list
        { nullptr,
            { { C::ParentFolder, &t::popupParentFolder }, separator,
                { C::Refresh, &t::popupRefresh }, separator,
                { C::FolderProperties, &t::popupPropertiesR } } },
        // dustbox_kif
        { nullptr,
            { { C::DeleteForGood, &t::popupDelete }, separator,
                { C::TrashItemProperties, &t::popupPropertiesR } } },
    };
    return table;
}

const std::vector<AcceleratorDef>& acceleratorTable()
{
    using C = CommandId;
    static const std::vector<AcceleratorDef> table {
        { QKeySequence(Qt::CTRL | Qt::Key_A), C::SelectAll },
        { QKeySequence(Qt::CTRL | Qt::Key_C), C::EditCopy },
        { QKeySequence(Qt::CTRL | Qt::Key_Insert), C::EditCopy },
        { QKeySequence(Qt::CTRL | Qt::Key_X), C::EditCut },
        { QKeySequence(Qt::SHIFT | Qt::Key_Delete), C::EditCut },
        { QKeySequence(Qt::CTRL | Qt::Key_V), C::EditPaste },
        { QKeySequence(Qt::SHIFT | Qt::Key_Insert), C::EditPaste },
        { QKeySequence(Qt::CTRL | Qt::Key_S), C::Save },
        { QKeySequence(Qt::Key_F6), C::NextPane },
        { QKeySequence(Qt::SHIFT | Qt::Key_F6), C::PreviousPane },
    };
    return table;
}
