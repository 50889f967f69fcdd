#pragma once

#include <cstdint>

/*  Framing of the pedal's firmware messages (begin, data, end).

        begin: F0, id, 00 6D 51 01, F7                       9 bytes
        data:  F0, id, 00 6D 52 00, payload (590 bytes), F7  599 bytes in the release
        end:   F0, id, 00 6D 52 01, F7                       9 bytes

    A firmware file is one begin message, at least one data message and one end message,
    in that order; only the data messages' payload and number may differ between releases.
*/
namespace SysexFormat
{
    constexpr std::uint8_t sysexStart = 0xf0;
    constexpr std::uint8_t sysexEnd = 0xf7;

    /** Quillon's three-byte manufacturer identifier (an extended id, so it starts with 00). */
    constexpr std::uint8_t manufacturerId[3] = { 0x00, 0x4f, 0x51 };

    /** The pedal's model, the two bytes after the identifier. */
    constexpr std::uint8_t modelId[2] = { 0x00, 0x6d };

    /** The two command bytes after the model that tell the three messages apart. */
    constexpr std::uint8_t beginCommand[2] = { 0x51, 0x01 };
    constexpr std::uint8_t dataCommand[2] = { 0x52, 0x00 };
    constexpr std::uint8_t endCommand[2] = { 0x52, 0x01 };

    /** F0, identifier, model and command: what every message of the pedal starts with. */
    constexpr int headerLength = 8;

    constexpr int controlMessageLength = 9;
    constexpr int dataMessageLength = 599;
    constexpr int dataPayloadLength = 590;
} // namespace SysexFormat
