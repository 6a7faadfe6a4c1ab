#pragma once

#include "ui/protocollistener.h"

class QCheckBox;
class QPushButton;
struct Settings;

// Yahoo! Othello 採譜機能のプロパティ: the four capture settings. It shows them as they are when it
// opens; OK stores them and closes, キャンセル closes. One is open at a time: the capture settings
// query (window notice kind 2) brings it forward.
class CaptureSettingsDialog : public ProtocolListener {
    Q_OBJECT
public:
    explicit CaptureSettingsDialog(Settings& settings);

    QCheckBox* autoStartBox() const { return m_auto; }
    QCheckBox* autoSaveBox() const { return m_save; }
    QCheckBox* bellBox() const { return m_bell; }
    QCheckBox* closeReportBox() const { return m_close; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    int32_t onWindow(const WindowNotice& notice, int32_t count) override;

protected:
    bool initDialog() override;

private:
    void store();

    Settings& m_settings;
    QCheckBox* m_auto = nullptr;
    QCheckBox* m_save = nullptr;
    QCheckBox* m_bell = nullptr;
    QCheckBox* m_close = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
