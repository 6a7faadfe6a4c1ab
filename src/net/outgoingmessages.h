#pragma once

#include "net/stringlist.h"

#include <array>
#include <cstdint>
#include <string_view>

// The messages the client sends, built ready to queue on a connection.

// Main connection: log in with the user's name and password (sent in clear).
StringList loginMessage(std::string_view user, std::string_view password);
// Presence connection: log in with the installation number.
StringList presenceLoginMessage(int32_t installationNumber);
// Version check connection: ask for the latest version and the installation number to use.
StringList versionMessage(int32_t installationNumber);
// Main connection keep-alive.
StringList nopMessage();
// Presence connection keep-alive.
StringList hcMessage();
StringList modCommentMessage(std::string_view description);
StringList profileMessage(std::string_view user);
StringList tellMessage(std::string_view user, std::string_view text);
StringList bcastMessage(std::string_view text);
// The tick count goes out as the "%d" form of its 32 bits, and comes back the same in the PONG.
StringList pingMessage(std::string_view user, uint32_t tickMilliseconds);
// The answer to a PING: its three items unchanged.
StringList pongMessage(const std::array<ByteString, 3>& pingItems);
// Asks a user for the listing of one of their shared folders ("\" for the list of shares).
StringList getDirMessage(std::string_view user, std::string_view path);
// The answer to a GETDIR, to be completed with one appended item per entry.
StringList dirMessage(std::string_view user, std::string_view path);
