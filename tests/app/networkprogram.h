#pragma once

#include "scriptednetworkprompts.h"
#include "scriptedprompter.h"

#include "app/librarydocument.h"
#include "app/networkclient.h"
#include "app/pavioneapp.h"
#include "app/qtprofilestore.h"
#include "library/recordlibrary.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

// One whole program with a data directory and a settings file of its own and its questions
// answered by scripts, so that several can run side by side in one test process.
class NetworkProgram {
public:
    // extraArguments follow the data directory on the command line (the server to use, say).
    // prepare may write settings before the program reads them.
    explicit NetworkProgram(
        const QStringList& extraArguments = {}, const std::function<void(QSettings&)>& prepare = {})
    {
        if (prepare) {
            QSettings stored(settingsFile(), QSettings::IniFormat);
            stored.beginGroup(QStringLiteral("Settings"));
            prepare(stored);
        }
        QStandardPaths::setTestModeEnabled(true);
        // The window layout is kept in the user's store: it goes to a private one.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_layoutDir.path());
        app.setPrompter(&prompter);
        app.setNetworkPrompts(&prompts);
        app.setSettingsFile(settingsFile());
        started = app.start(QStringList { QStringLiteral("pavione"), QStringLiteral("--data-dir"),
                                m_dataDir.path() }
            + extraArguments);
    }

    QString settingsFile() const { return m_settingsDir.filePath(QStringLiteral("settings.ini")); }
    QString dataDir() const { return m_dataDir.path(); }
    // The settings as stored now, group "Settings" entered.
    std::unique_ptr<QSettings> storedSettings() const
    {
        auto s = std::make_unique<QSettings>(settingsFile(), QSettings::IniFormat);
        s->beginGroup(QStringLiteral("Settings"));
        return s;
    }

    MainWindow& frame() { return *app.mainFrame(); }
    LibraryDocument& doc() { return *app.document(); }
    NetworkClient& client() { return *app.networkClient(); }
    CollectionTree& collection(int c) { return doc().library().collection(c); }

    // Processes events until the condition holds; false after the time-out.
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000)
    {
        return QTest::qWaitFor(condition, timeoutMs);
    }

private:
    QTemporaryDir m_layoutDir;
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dataDir;

public:
    ScriptedPrompter prompter;
    ScriptedNetworkPrompts prompts;
    PavioneApp app;
    bool started = false;
};
