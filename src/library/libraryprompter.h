#pragma once

#include <string>

// How the library operations ask the user and tell of refusals. The desktop program shows
// dialogs owned by the window that called the operation; tests record the calls. Titles and
// texts are CP932 bytes.
class LibraryPrompter {
public:
    virtual ~LibraryPrompter() = default;

    // A question with the buttons "はい" and "いいえ"; true only for "はい". The deletion questions
    // and the copy confirmation come this way, each with its own title.
    virtual bool confirm(const std::string& title, const std::string& text) = 0;
    // A message with an OK button and the stop icon.
    virtual void showError(const std::string& title, const std::string& text) = 0;
};
