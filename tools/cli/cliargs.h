#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// A command's arguments as views, for taking options out before the positional ones are read.
std::vector<std::string_view> argumentList(std::span<char* const> args);
// Removes "NAME VALUE" from args and returns VALUE; fallback when NAME is absent.
std::string takeOption(
    std::vector<std::string_view>& args, std::string_view name, std::string_view fallback = {});
