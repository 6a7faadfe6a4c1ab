#pragma once

#include "library/libraryprompter.h"

#include <string>

// Every question and message of the document: the library's own and the program's questions about
// its files. The desktop program shows message boxes; tests answer them.
class UserPrompter : public LibraryPrompter {
public:
    // A failed save at exit: true to try again ("再試行"), false to quit without saving.
    virtual bool retry(const std::string& title, const std::string& text) = 0;
};
