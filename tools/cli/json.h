#pragma once

#include <string>
#include <string_view>

// JSON string literal (with quotes) of a CP932 text, converted to UTF-8.
std::string jsonString(std::string_view cp932Text);
