#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class StringList;

// What the chat and peer windows need of the program: the main connection to send on, the name
// the user logged in with, the millisecond tick counter and the message sound.
class ChatLink {
public:
    // The logged-in user's name (CP932).
    virtual const std::string& ownUser() const = 0;
    // Queues a message on the main connection; without one nothing is queued and nothing said.
    virtual void sendMain(const StringList& message) = 0;
    // Sends a private message, so that a refusal of it can be shown to the user.
    virtual void sendTell(std::string_view peer, std::string_view text) = 0;
    // The millisecond tick counter (wraps after 49.7 days).
    virtual uint32_t tickCount() const = 0;
    virtual void playMessageSound() = 0;

protected:
    ~ChatLink() = default;
};
