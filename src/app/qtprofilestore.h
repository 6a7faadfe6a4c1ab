#pragma once

#include "library/profilestore.h"

#include <QSettings>

// The profile store of the desktop program: the user's QSettings of organisation "wenk", group
// "Settings". Text values are kept as Unicode and handed to the core as CP932.
class QtProfileStore : public ProfileStore {
public:
    QtProfileStore();
    // The same settings kept in an INI file of the caller's choice instead of the user's store.
    explicit QtProfileStore(const QString& iniFile);

    int getInt(std::string_view key, int fallback) const override;
    std::string getString(std::string_view key, std::string_view fallback) const override;
    void setInt(std::string_view key, int value) override;
    void setString(std::string_view key, std::string_view value) override;

    // Writes pending changes to disk; false when the store could not be written.
    bool sync();
    // Where the settings are kept.
    QString fileName() const { return m_settings.fileName(); }

private:
    QSettings m_settings;
};
