// Feeds arbitrary bytes to the firmware file check and cross-checks its verdict with a
// second, deliberately naive reading of the same framing rules.

#include "firmware/SysexStreamValidator.h"

#include <cstdlib>

namespace
{
    bool naiveIsWellFramed (const std::uint8_t* data, std::size_t size, std::size_t& messages)
    {
        messages = 0;
        std::size_t i = 0;

        while (i < size)
        {
            if (data[i] != 0xf0)
                return false;

            std::size_t end = i + 1;
            while (end < size && data[end] < 0x80)
                ++end;

            if (end == size || data[end] != 0xf7)
                return false;

            ++messages;
            i = end + 1;
        }

        return size > 0;
    }
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    const auto result = SysexStreamValidator::check (data, size);

    std::size_t naiveMessages = 0;
    const bool naiveOk = naiveIsWellFramed (data, size, naiveMessages);

    if (result.ok != naiveOk)
        std::abort();

    if (result.ok && result.numMessages != naiveMessages)
        std::abort();

    if (! result.ok && result.faultOffset > size)
        std::abort();

    return 0;
}
