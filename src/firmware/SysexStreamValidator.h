#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

//==============================================================================
/**
    Checks that a byte stream is firmware for the pedal.

    Framing: a run of complete SysEx messages placed back to back: it starts with F0,
    every F0 is closed by an F7 before the next F0 and before the end, every byte in
    between is below 0x80 and nothing stands between messages.

    Layout (SysexFormat.h): the first message is exactly the begin message, the last
    exactly the end message, and every message between them, at least one, is a data
    message with at least one payload byte. A file that passes the framing alone may be
    another device's SysEx, another model's image, a download cut off after a message or
    two images in one; the pedal's bootloader cannot be trusted to refuse any of them.

    Plain C++ with no framework types, so that the build-time embedding tool and the
    fuzzer use exactly the check that guards file images.
*/
class SysexStreamValidator final
{
public:
    struct Result
    {
        bool ok = false;
        std::size_t faultOffset = 0;   ///< first byte of the offending message, or of the framing fault
        const char* reason = "";       ///< plain English, empty when ok
        bool layoutFault = false;      ///< well framed, but not the pedal's layout
        std::size_t numMessages = 0;   ///< complete messages seen before any fault
    };

    static Result check (const std::uint8_t* data, std::size_t size) noexcept;

    /** The fault as one phrase, for a refusal: for a layout fault, "the message at byte N"
        and the reason, with the message's first bytes in hex; for a framing fault, the
        reason and its offset. Empty when ok. */
    static std::string describe (const Result& result, const std::uint8_t* data, std::size_t size);

    /** The message at offset in hex, up to its F7 ("F0 00 4F 51 00 6E 51 01 F7"), or its
        first eight bytes and an ellipsis (UTF-8) when it is longer. */
    static std::string bytesAt (const std::uint8_t* data, std::size_t size, std::size_t offset);

private:
    SysexStreamValidator() = delete;
};
