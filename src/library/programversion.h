#pragma once

#include <string>
#include <string_view>

// The program's version number comes from the first line of the small file "pavionev.dll" beside
// the program. It is compared with the server's latest version and handed to the updater; what the
// user sees is always 0.30 (programTitleText, aboutVersionText).
namespace programversion {

inline constexpr int minimum = 30;
// The numbers the title and the about box show, whatever the file says.
inline constexpr int shownMajor = 0;
inline constexpr int shownMinor = 30;

// The version a first line encodes. Only its first 15 bytes count, up to and including a line
// break, as a bounded line read into a zero-filled 16-byte buffer would leave them. With hex(c) the
// value of a hexadecimal digit and 0 for any other byte, p = hex(buffer[0]) and q = hex(buffer[15])
// (always 0, the buffer's last byte), the version is hex(buffer[p]) * 256 + hex(buffer[q]), at
// least 30.
int fromFirstLine(std::string_view firstLine);

// Reads the version file in programDirectory (which ends with its '/', or is empty for the current
// directory); a missing or unreadable file gives 30.
int read(const std::string& programDirectory);

} // namespace programversion

// "Pavione ver.0.30": the main window's title, the same for every version file.
std::string programTitleText();
// "Version 0.30": the about box's version line.
std::string aboutVersionText();
