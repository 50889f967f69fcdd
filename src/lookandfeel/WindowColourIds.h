#pragma once

#include <cstdint>

/*  Colour ids that the program's document windows carry for the look and feel. */
namespace WindowColourIds
{
    /** The top colour of a window's title-bar gradient (the bottom is its background colour). */
    constexpr int titleBarColourId = 0x2e00100;

    /** The colours every window of the program is made with (ARGB). */
    constexpr std::uint32_t backgroundColour = 0xffeff2f3;
    constexpr std::uint32_t titleBarColour = 0xff3273a1;
} // namespace WindowColourIds
