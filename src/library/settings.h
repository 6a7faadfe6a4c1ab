#pragma once

#include <string>
#include <string_view>

class ProfileStore;

// The user's settings, read once at start-up and written back at exit. Dialogs change them here
// during the run; nothing reaches the profile store before exit.
struct Settings {
    int delforce = 0; // delete for good instead of moving to the trash
    int delconfirm = 1; // ask before deleting
    int yahoobell = 1; // sound when both seats of a watched table are taken
    int yahoosave = 1; // file a captured game automatically when it ends
    int yahooclose = 0; // close the capture result window by itself
    int yahooauto = 0; // switch capture on at start-up
    std::string compcmt; // this computer's description for other users (CP932)
    int chatbell = 1; // sound when a chat message arrives
    int installed = 0; // seconds since 1970-01-01 UTC; read only, never written
    int serialCode = 0; // installation number handed out by the server
    std::string server = "localhost"; // host name of the sharing server
};

namespace settingkeys {

inline constexpr std::string_view delforce = "delforce";
inline constexpr std::string_view delconfirm = "delconfirm";
inline constexpr std::string_view yahoobell = "yahoobell";
inline constexpr std::string_view yahoosave = "yahoosave";
inline constexpr std::string_view yahooclose = "yahooclose";
inline constexpr std::string_view yahooauto = "yahooauto";
inline constexpr std::string_view compcmt = "compcmt";
inline constexpr std::string_view chatbell = "chatbell";
inline constexpr std::string_view installed = "installed";
inline constexpr std::string_view serialCode = "serialCode";
inline constexpr std::string_view server = "server";
// Written at once by the login, never at exit: the saved user name and its scrambled password.
inline constexpr std::string_view login = "login";
inline constexpr std::string_view passwd = "passwd";

} // namespace settingkeys

// Reads every setting; a missing value gives its default.
Settings readSettings(const ProfileStore& store);

// Writes the settings back: delforce and delconfirm as 0 or 1, compcmt, chatbell, yahoobell,
// yahoosave, yahooclose, yahooauto, serialCode and server, in that order. "installed" is never
// written.
void writeSettings(const Settings& settings, ProfileStore& store);
