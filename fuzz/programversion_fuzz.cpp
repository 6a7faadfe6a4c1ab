#include "library/programversion.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any first line of the version file gives a version between the minimum and the largest value
// two hex digits can make, without reading outside the line buffer.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const int version = programversion::fromFirstLine(line);
    if (version < programversion::minimum || version > 15 * 256 + 15)
        std::abort();
    return 0;
}
