#pragma once

#include "app/networkprompts.h"

class QWidget;

// The network client's questions as the program asks them: modal dialogs and message boxes on
// the main window, the desktop's browser and a detached process.
class DialogNetworkPrompts final : public NetworkPrompts {
public:
    explicit DialogNetworkPrompts(QWidget* owner)
        : m_owner(owner)
    { }

    bool askLogin(LoginFields& fields, const QUrl& registrationPage) override;
    bool askNetworkSettings(std::string& description, bool& bell) override;
    void warn(const std::string& title, const std::string& text) override;
    void openPage(const QUrl& page) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;

private:
    QWidget* m_owner;
};
