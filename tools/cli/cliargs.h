#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class DataDirectoryLock;
class MoveList;

// A command's arguments as views, for taking options out before the positional ones are read.
std::vector<std::string_view> argumentList(std::span<char* const> args);
// Removes "NAME VALUE" from args and returns VALUE; fallback when NAME is absent.
std::string takeOption(
    std::vector<std::string_view>& args, std::string_view name, std::string_view fallback = {});
// Removes NAME and says whether it was there.
bool takeFlag(std::vector<std::string_view>& args, std::string_view name);
// Removes "NAME VALUE1 … VALUEcount" and returns the values. None when NAME is absent or fewer
// than count arguments follow it; args then keep NAME, so that a check of the positional
// arguments finds it.
std::optional<std::vector<std::string>> takeOptionValues(
    std::vector<std::string_view>& args, std::string_view name, size_t count);

// Takes the lock of the directory holding a collection file before a command writes it. False,
// with a message, when another program (the desktop program, which saves at exit) holds it.
bool lockDirectoryOf(const std::string& file, DataDirectoryLock& lock);

// Moves given on the command line (F5D6…, either case): the whole text must be a game that can
// be played from the start. None, with a message, otherwise.
std::optional<MoveList> playableMoves(const std::string& text);
