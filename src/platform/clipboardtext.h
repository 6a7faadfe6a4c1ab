#pragma once

#include <string>
#include <string_view>

// Plain text on the system clipboard, as CP932 bytes.
namespace clipboardtext {

// The clipboard's text; empty when it holds none.
std::string get();
// Replaces the clipboard's contents with the text; 0, or -1 when the clipboard did not take it.
int put(std::string_view cp932Text);
// Empties the clipboard; 0, or -1 when it could not be emptied.
int clear();

} // namespace clipboardtext
