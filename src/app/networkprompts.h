#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <string>

struct LoginFields;

// What the network client asks of the user and the desktop: the two dialogs, message boxes, the
// browser and starting the updater. The program shows dialogs; tests answer in their place.
class NetworkPrompts {
public:
    virtual ~NetworkPrompts() = default;

    // The connect dialog filled with fields; false on Cancel, else fields holds what was entered.
    virtual bool askLogin(LoginFields& fields, const QUrl& registrationPage) = 0;
    // The network settings dialog; false on Cancel, else both values hold what was chosen.
    // description in CP932.
    virtual bool askNetworkSettings(std::string& description, bool& bell) = 0;
    // A message with the exclamation icon and OK only; title and text in CP932.
    virtual void warn(const std::string& title, const std::string& text) = 0;
    virtual void openPage(const QUrl& page) = 0;
    // Starts a program on its own; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;
};
