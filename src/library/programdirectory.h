#pragma once

#include <string>
#include <string_view>

// The directory of the running program, which holds every file the program reads or writes: the
// executable's full path up to and including its last '/', or empty when the path has none.
std::string programDirectoryOf(std::string_view executablePath);

// A directory given by the user (for example on the command line) in the same form: with one
// trailing '/' added when it has none; an empty text stays empty (the current directory).
std::string programDirectoryFromUser(std::string_view directory);
