#pragma once

#include <array>
#include <cstdint>

// The ten colours every board picture and a few labels share, in their fixed order.
enum class SharedColour : int {
    White,
    Black,
    Grey, // margins of the move-number sheet
    NumberBlack, // a move number that replays
    NumberRed, // a move number standing on several squares
    NumberBlue, // a move number the replay does not reach
    BoardGreen,
    BoardBlack, // margins of the disc board
    DarkGreen, // dark grid lines and star points
    LightGreen, // light grid lines
};

inline constexpr int sharedColourCount = 10;

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    bool operator==(const Rgb&) const = default;
};

inline constexpr std::array<Rgb, sharedColourCount> sharedColourTable { {
    { 255, 255, 255 },
    { 0, 0, 0 },
    { 192, 192, 192 },
    { 0, 0, 0 },
    { 255, 0, 0 },
    { 0, 0, 255 },
    { 66, 132, 66 },
    { 0, 0, 0 },
    { 0, 66, 0 },
    { 99, 173, 99 },
} };

constexpr Rgb sharedRgb(SharedColour colour)
{
    return sharedColourTable[static_cast<int>(colour)];
}
