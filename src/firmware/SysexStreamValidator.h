#pragma once

#include <cstddef>
#include <cstdint>

//==============================================================================
/**
    Checks that a byte stream is a run of complete SysEx messages placed back to back:
    it starts with F0, every F0 is closed by an F7 before the next F0 and before the end,
    every byte in between is below 0x80 and nothing stands between messages.

    Plain C++ with no framework types, so that the build-time embedding tool and the
    fuzzer can use exactly the check that guards file images.
*/
class SysexStreamValidator final
{
public:
    struct Result
    {
        bool ok = false;
        std::size_t faultOffset = 0;  ///< offset of the first byte that breaks the framing
        const char* reason = "";      ///< plain English, empty when ok
        std::size_t numMessages = 0;  ///< complete messages seen before any fault
    };

    static Result check (const std::uint8_t* data, std::size_t size) noexcept;

private:
    SysexStreamValidator() = delete;
};
