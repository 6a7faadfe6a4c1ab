#pragma once

#include <cstddef>

// Asks the system to back a large block of memory with large pages where it can: filling a
// hundred megabytes of fresh records then takes a few dozen page faults instead of tens of
// thousands. Only advice; nothing changes where the system does not take it.
void adviseLargePages(void* start, size_t bytes);
