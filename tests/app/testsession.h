#pragma once

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A private settings location and data directory for one test, so that tests never read or write
// the user's own settings or files.
class TestSession {
public:
    TestSession()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir.path());
    }

    QString dataDir() const { return m_dataDir.path(); }
    QStringList arguments() const
    {
        return { QStringLiteral("pavione"), QStringLiteral("--data-dir"), dataDir() };
    }

    // The program's settings as stored, group "Settings" already entered.
    std::unique_ptr<QSettings> storedSettings() const
    {
        auto s = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
            QStringLiteral("wenk"), QStringLiteral("Pavione"));
        s->beginGroup(QStringLiteral("Settings"));
        return s;
    }

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dataDir;
};
