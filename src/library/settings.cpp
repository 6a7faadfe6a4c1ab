#include "library/settings.h"

#include "library/profilestore.h"

Settings readSettings(const ProfileStore& store)
{
    const Settings defaults;
    Settings s;
    s.delforce = store.getInt(settingkeys::delforce, defaults.delforce);
    s.delconfirm = store.getInt(settingkeys::delconfirm, defaults.delconfirm);
    s.yahoobell = store.getInt(settingkeys::yahoobell, defaults.yahoobell);
    s.yahoosave = store.getInt(settingkeys::yahoosave, defaults.yahoosave);
    s.yahooclose = store.getInt(settingkeys::yahooclose, defaults.yahooclose);
    s.yahooauto = store.getInt(settingkeys::yahooauto, defaults.yahooauto);
    s.compcmt = store.getString(settingkeys::compcmt, defaults.compcmt);
    s.chatbell = store.getInt(settingkeys::chatbell, defaults.chatbell);
    s.installed = store.getInt(settingkeys::installed, defaults.installed);
    s.serialCode = store.getInt(settingkeys::serialCode, defaults.serialCode);
    s.server = store.getString(settingkeys::server, defaults.server);
    return s;
}

void writeSettings(const Settings& settings, ProfileStore& store)
{
    store.setInt(settingkeys::delforce, settings.delforce != 0 ? 1 : 0);
    store.setInt(settingkeys::delconfirm, settings.delconfirm != 0 ? 1 : 0);
    store.setString(settingkeys::compcmt, settings.compcmt);
    store.setInt(settingkeys::chatbell, settings.chatbell);
    store.setInt(settingkeys::yahoobell, settings.yahoobell);
    store.setInt(settingkeys::yahoosave, settings.yahoosave);
    store.setInt(settingkeys::yahooclose, settings.yahooclose);
    store.setInt(settingkeys::yahooauto, settings.yahooauto);
    store.setInt(settingkeys::serialCode, settings.serialCode);
    store.setString(settingkeys::server, settings.server);
}
