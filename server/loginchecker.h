#pragma once

#include <functional>
#include <string>

enum class LoginVerdict { Accepted, UnknownUser, WrongPassword, Failed };

// Checks a user name and password. The answer may come later (password hashing is slow on
// purpose), but always on the server's event loop.
class LoginChecker {
public:
    virtual ~LoginChecker() = default;
    virtual void check(const std::string& name, const std::string& password,
        std::function<void(LoginVerdict)> done)
        = 0;
};
