#pragma once

#include "library/folderkey.h"
#include "ui/protocollistener.h"

class QLabel;
class QPushButton;
class RecordLibrary;

// Pavioneニュース のプロパティ: what the news collection among the network computers is, and
// when it was last updated (the news folder's time). The news properties query (window notice
// kind 5 naming the folder) brings it forward; the removal of the folder or of a folder above it
// closes it.
class NewsPropertiesWindow : public ProtocolListener {
    Q_OBJECT
public:
    NewsPropertiesWindow(const RecordLibrary& library, FolderKey folder);

    FolderKey folder() const { return m_folder; }
    QLabel* nameText() const { return m_name; }
    QLabel* updatedText() const { return m_updated; }
    QPushButton* closeButton() const { return m_close; }

    int32_t onWindow(const WindowNotice& notice, int32_t count) override;

protected:
    bool initDialog() override;

private:
    const RecordLibrary& m_library;
    const FolderKey m_folder;
    QLabel* m_name = nullptr;
    QLabel* m_updated = nullptr;
    QPushButton* m_close = nullptr;
};
