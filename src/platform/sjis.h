#pragma once

#include <QString>
#include <string>
#include <string_view>

// The Qt boundary of the CP932 text layer: every text the core hands to a widget, and every text
// a widget hands to the core, passes through these two functions.
QString fromSjis(std::string_view cp932Bytes);
std::string toSjis(const QString& text);
// The characters of text that code page 932 cannot hold (toSjis makes each a "?"), each once in
// order of appearance, written "U+XXXX" and separated by spaces; empty when every one fits.
std::string charactersNotInSjis(const QString& text);
