#pragma once

#include "loadargs.h"

// pavione-loadgen attack: one attack on the server (--kind slots, memory, logins, guess or flood)
// while a well-behaved logged-in user measures its round trips, and a newcomer from another
// address logs in now and then. Prints the round-trip percentiles, the newcomers' login times,
// what the attack achieved and, with --server-pid, the server's memory.
int attack(const Args& args);
