#pragma once

#include <array>
#include <cstdint>
#include <string>

// One reading of a Yahoo! Games table window. Texts are CP932 bytes. A table is identified by
// room and table number; the host is carried along but never compared.
struct TableSnapshot {
    std::array<uint8_t, 64> cells {}; // row-major from the top left: 0 empty, 1 black, 2 white
    int32_t blackCount = 0; // -1 when the reading failed
    int32_t whiteCount = 0;
    std::string blackName; // empty for an empty seat
    std::string whiteName;
    std::string room;
    std::string host;
    int32_t table = 0; // 0 when the title does not parse
};
