#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

// ネットワークプロフィールの設定: the description other users see for this computer (at most 128
// characters) and whether a message rings the bell. The account fields start empty and are never
// read.
class NetworkSettingsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int descriptionLimit = 128;

    // description in CP932.
    NetworkSettingsDialog(const std::string& description, bool bell, QWidget* parent = nullptr);

    // In CP932.
    std::string description() const;
    bool bell() const;

    QLineEdit* descriptionEdit() const { return m_description; }
    QCheckBox* bellBox() const { return m_bell; }
    QPushButton* okButton() const { return m_ok; }

private:
    QLineEdit* m_description = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QCheckBox* m_bell = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
