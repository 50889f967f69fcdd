#pragma once

#include <cstdint>

/*  Framing of the pedal's firmware messages (begin, data, end).

        begin: F0, id, 00 6D 51 01, F7                       9 bytes
        data:  F0, id, 00 6D 52 00, 590 payload bytes, F7   599 bytes
        end:   F0, id, 00 6D 52 01, F7                       9 bytes
*/
namespace SysexFormat
{
    constexpr std::uint8_t sysexStart = 0xf0;
    constexpr std::uint8_t sysexEnd = 0xf7;

    /** Quillon's three-byte manufacturer identifier (an extended id, so it starts with 00). */
    constexpr std::uint8_t manufacturerId[3] = { 0x00, 0x4f, 0x51 };

    constexpr int controlMessageLength = 9;
    constexpr int dataMessageLength = 599;
    constexpr int dataPayloadLength = 590;
} // namespace SysexFormat
