#include "app/qtprofilestore.h"

#include "platform/sjis.h"

namespace {

QString keyOf(std::string_view key)
{
    const std::string_view section = profile::section;
    return QString::fromLatin1(section.data(), static_cast<qsizetype>(section.size()))
        + QLatin1Char('/') + QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
}

QString organisation()
{
    const std::string_view company = profile::company;
    return QString::fromLatin1(company.data(), static_cast<qsizetype>(company.size()));
}

} // namespace

QtProfileStore::QtProfileStore()
    : m_settings(
        QSettings::NativeFormat, QSettings::UserScope, organisation(), QStringLiteral("Pavione"))
{ }

QtProfileStore::QtProfileStore(const QString& iniFile)
    : m_settings(iniFile, QSettings::IniFormat)
{ }

int QtProfileStore::getInt(std::string_view key, int fallback) const
{
    const QVariant value = m_settings.value(keyOf(key));
    if (!value.isValid())
        return fallback;
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : fallback;
}

std::string QtProfileStore::getString(std::string_view key, std::string_view fallback) const
{
    const QVariant value = m_settings.value(keyOf(key));
    if (!value.isValid())
        return std::string(fallback);
    return toSjis(value.toString());
}

void QtProfileStore::setInt(std::string_view key, int value)
{
    m_settings.setValue(keyOf(key), value);
}

void QtProfileStore::setString(std::string_view key, std::string_view value)
{
    m_settings.setValue(keyOf(key), fromSjis(value));
}

bool QtProfileStore::sync()
{
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}
