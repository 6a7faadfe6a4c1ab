#pragma once

#include "library/folderkey.h"
#include "ui/protocollistener.h"

#include <string>

class LibraryOperations;
class LibraryPrompter;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class RecordLibrary;

// プロパティ of a folder: the 全般 page shows its kind, name, place, contents and creation time
// and lets a folder that is not a root be renamed; the 共有 page, for folders that are neither a
// root nor a network computer's, shares it under a share name with a comment. Nothing changes
// until OK, which tests the new name and share name first and leaves the window open with the
// user's input when one is refused. One window per folder: the properties query (window notice
// kind 1, the tab in extra) brings it forward on the requested tab, and the removal of the folder
// or of a folder above it closes it.
class FolderPropertiesWindow : public ProtocolListener {
    Q_OBJECT
public:
    enum Tab { GeneralTab = 0, SharingTab = 1 };

    FolderPropertiesWindow(RecordLibrary& library, LibraryOperations& operations,
        LibraryPrompter& prompter, FolderKey folder, int tab);

    FolderKey folder() const { return m_folder; }

    QTabWidget* tabs() const { return m_tabs; }
    QLineEdit* nameEdit() const { return m_name; }
    QLabel* placeText() const { return m_place; }
    QLabel* contentsText() const { return m_contents; }
    QLabel* createdText() const { return m_created; }
    // Null when the folder has no 共有 page.
    QRadioButton* shareOffButton() const { return m_shareOff; }
    QRadioButton* shareOnButton() const { return m_shareOn; }
    QLineEdit* shareNameEdit() const { return m_shareName; }
    QLineEdit* shareCommentEdit() const { return m_shareComment; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    // Shows the page of the tab (the 全般 page when there is no such tab).
    void showTab(int tab);
    // What OK does: false, with the window left open, when a name was refused.
    bool apply();

    int32_t onWindow(const WindowNotice& notice, int32_t count) override;

protected:
    bool initDialog() override;

private:
    QWidget* buildGeneralPage();
    QWidget* buildSharingPage();
    void setSharing(bool on);

    RecordLibrary& m_library;
    LibraryOperations& m_operations;
    LibraryPrompter& m_prompter;
    const FolderKey m_folder;
    const int m_requestedTab;
    // The folder's name when the window opened: proposed as the share name.
    std::string m_defaultShareName;

    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_name = nullptr;
    QLabel* m_place = nullptr;
    QLabel* m_contents = nullptr;
    QLabel* m_created = nullptr;
    QRadioButton* m_shareOff = nullptr;
    QRadioButton* m_shareOn = nullptr;
    QLineEdit* m_shareName = nullptr;
    QLineEdit* m_shareComment = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
