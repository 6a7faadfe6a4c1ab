#include "library/programversion.h"

#include "text/hexdigit.h"
#include "text/texts.h"

#include <array>
#include <cstdio>

namespace programversion {
namespace {

using LineBuffer = std::array<char, 16>;

// p and q are hex digits, so both always index inside the buffer. q reads the last byte,
// which a bounded line read never fills: the "low" digit is in practice the first byte.
int fromBuffer(const LineBuffer& buffer)
{
    const int p = hexDigitValue(buffer[0]);
    const int q = hexDigitValue(buffer[15]);
    const int version = hexDigitValue(buffer[static_cast<size_t>(p)]) * 256
        + hexDigitValue(buffer[static_cast<size_t>(q)]);
    return version < minimum ? minimum : version;
}

} // namespace

int fromFirstLine(std::string_view firstLine)
{
    LineBuffer buffer {};
    for (size_t i = 0; i < firstLine.size() && i < buffer.size() - 1; ++i) {
        buffer[i] = firstLine[i];
        if (firstLine[i] == '\n')
            break;
    }
    return fromBuffer(buffer);
}

int read(const std::string& programDirectory)
{
    const std::string path = programDirectory + texts::versionFileName.bytes();
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return minimum;
    LineBuffer buffer {};
    // An empty file leaves the buffer as it was: zero-filled, which reads as the minimum.
    if (!std::fgets(buffer.data(), static_cast<int>(buffer.size()), file))
        buffer.fill(0);
    std::fclose(file);
    return fromBuffer(buffer);
}

} // namespace programversion

namespace {

std::string formatVersion(const std::string& format)
{
    std::array<char, 64> text {};
    std::snprintf(text.data(), text.size(), format.c_str(), programversion::shownMajor,
        programversion::shownMinor);
    return text.data();
}

} // namespace

std::string programTitleText()
{
    return formatVersion(texts::programTitleFormat.bytes());
}

std::string aboutVersionText()
{
    return formatVersion(texts::aboutVersionFormat.bytes());
}
