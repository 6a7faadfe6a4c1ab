#pragma once

#include "app/networkprompts.h"
#include "platform/sjis.h"
#include "ui/connectdialog.h"

#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <optional>
#include <vector>

// Answers the network client's dialogs in tests and keeps every call: the connect dialog takes
// the next queued fields (Cancel when none is queued), the settings dialog the queued values.
class ScriptedNetworkPrompts : public NetworkPrompts {
public:
    void answerLogin(LoginFields fields) { m_logins.push_back(std::move(fields)); }
    void answerSettings(std::string description, bool bell) { m_settings = { description, bell }; }

    // How each connect dialog was filled.
    std::vector<LoginFields> loginFills;
    // "title|text" of each message, in Unicode.
    QStringList warnings;
    std::vector<QUrl> pages;
    QString startedProgram;
    QStringList startedArguments;
    int settingsAsked = 0;

    bool askLogin(LoginFields& fields, const QUrl&) override
    {
        loginFills.push_back(fields);
        if (m_logins.empty())
            return false;
        fields = m_logins.front();
        m_logins.pop_front();
        return true;
    }
    bool askNetworkSettings(std::string& description, bool& bell) override
    {
        ++settingsAsked;
        if (!m_settings)
            return false;
        description = m_settings->first;
        bell = m_settings->second;
        return true;
    }
    void warn(const std::string& title, const std::string& text) override
    {
        warnings << fromSjis(title) + QLatin1Char('|') + fromSjis(text);
    }
    void openPage(const QUrl& page) override { pages.push_back(page); }
    bool startProgram(const QString& program, const QStringList& arguments) override
    {
        startedProgram = program;
        startedArguments = arguments;
        return false;
    }

private:
    std::deque<LoginFields> m_logins;
    std::optional<std::pair<std::string, bool>> m_settings;
};
