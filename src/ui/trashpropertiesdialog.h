#pragma once

#include "ui/protocollistener.h"

class QCheckBox;
class QPushButton;
struct Settings;

// ごみ箱のプロパティ: the two deletion settings. It shows them as they are when it opens; OK
// stores both and closes, キャンセル closes. One is open at a time: the trash settings query
// (window notice kind 0) brings it forward.
class TrashPropertiesDialog : public ProtocolListener {
    Q_OBJECT
public:
    explicit TrashPropertiesDialog(Settings& settings);

    QCheckBox* deleteForceBox() const { return m_deleteForce; }
    QCheckBox* deleteConfirmBox() const { return m_deleteConfirm; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    int32_t onWindow(const WindowNotice& notice, int32_t count) override;

protected:
    bool initDialog() override;

private:
    void store();

    Settings& m_settings;
    QCheckBox* m_deleteForce = nullptr;
    QCheckBox* m_deleteConfirm = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
