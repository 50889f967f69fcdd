#pragma once

/*  Colour ids that the program's document windows carry for the look and feel. */
namespace WindowColourIds
{
    /** The top colour of a window's title-bar gradient (the bottom is its background colour). */
    constexpr int titleBarColourId = 0x2e00100;
} // namespace WindowColourIds
