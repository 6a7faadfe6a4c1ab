#pragma once

#include "net/bytebuffer.h"
#include "net/stringlist.h"

#include <string>

// The wire form of a message: every item is one line, "+" before every item but the last, "-"
// before the last, a line feed after each. Items are sent unescaped; a line feed inside an item
// goes out as a space, since it would otherwise end the line early and let the rest of the item
// be read as lines of its own. An empty list frames to nothing.
bool frameMessage(const StringList& message, ByteBuffer& out);
std::string frameMessage(const StringList& message);

// The number of bytes frameMessage produces for the message.
size_t framedLength(const StringList& message);
