#pragma once

#include "library/settings.h"
#include "ui/commandtarget.h"

#include <string>
#include <string_view>

// The document of the run. It is created once at start-up, after the settings are read, and lives
// until exit; views and windows reach the program's data through it. It takes its place on the
// command route between the active view and the main frame.
class CZelphDoc : public CommandTarget {
public:
    CZelphDoc(Settings& settings, std::string dataDirectory);

    // The settings the library operations read (the deletion settings among them).
    Settings& settings() const { return m_settings; }
    // The directory of every file the program reads or writes, with its trailing '/'.
    const std::string& dataDirectory() const { return m_dataDirectory; }
    // The full name of one of the program's files, such as "private.kif".
    std::string filePath(std::string_view fileName) const;

private:
    Settings& m_settings;
    std::string m_dataDirectory;
};
