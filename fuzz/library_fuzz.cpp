#include "../tests/library/libraryscript.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The input bytes choose a script of library operations (creating, renaming, deleting, moving,
// copying, importing, sharing); after every step every tree must still be whole.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t position = 0;
    const auto next = [&](int n) {
        const int value = position < size ? data[position] : 0;
        ++position;
        return value % n;
    };
    const std::string fault = runLibraryScript(next, static_cast<int>(size / 4) + 1);
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
