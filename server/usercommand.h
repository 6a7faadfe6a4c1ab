#pragma once

#include "server/serveroptions.h"

#include <iosfwd>

// The account commands: user add NAME, user passwd NAME, user del NAME, user list and
// user import, on the database named in the options. Passwords come from `in`, one per line;
// when `in` is the terminal they are asked for twice without echo. Returns the exit status.
int runUserCommand(const ServerOptions& options, std::istream& in, bool inIsTerminal,
    std::ostream& out, std::ostream& err);
