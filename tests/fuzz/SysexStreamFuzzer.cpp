// Feeds arbitrary bytes to the firmware file check and cross-checks its verdict with a
// second, deliberately naive reading of the same rules: the framing, then the pedal's
// layout over the whole list of messages at once.

#include "firmware/SysexFormat.h"
#include "firmware/SysexStreamValidator.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
    struct Message
    {
        const std::uint8_t* bytes;
        std::size_t length;
    };

    bool naiveFraming (const std::uint8_t* data, std::size_t size, std::vector<Message>& messages)
    {
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

            messages.push_back ({ data + i, end + 1 - i });
            i = end + 1;
        }

        return size > 0;
    }

    bool startsWithHeader (const Message& m, std::uint8_t command0, std::uint8_t command1)
    {
        const std::uint8_t header[] = { 0xf0, 0x00, 0x4f, 0x51, 0x00, 0x6d, command0, command1 };
        return m.length >= sizeof (header) + 1 && std::memcmp (m.bytes, header, sizeof (header)) == 0;
    }

    bool naiveLayout (const std::vector<Message>& messages)
    {
        if (messages.size() < 3)
            return false;

        const auto& first = messages.front();
        const auto& last = messages.back();

        if (! (first.length == 9 && startsWithHeader (first, 0x51, 0x01)))
            return false;

        if (! (last.length == 9 && startsWithHeader (last, 0x52, 0x01)))
            return false;

        for (std::size_t i = 1; i + 1 < messages.size(); ++i)
            if (! (messages[i].length >= 10 && startsWithHeader (messages[i], 0x52, 0x00)))
                return false;

        return true;
    }
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    // The naive reading spells the identifier out: it must be the one the product uses.
    static_assert (SysexFormat::manufacturerId[0] == 0x00 && SysexFormat::manufacturerId[1] == 0x4f
                   && SysexFormat::manufacturerId[2] == 0x51);

    const auto result = SysexStreamValidator::check (data, size);

    std::vector<Message> messages;
    const bool framed = naiveFraming (data, size, messages);
    const bool naiveOk = framed && naiveLayout (messages);

    if (result.ok != naiveOk)
        std::abort();

    if (result.ok && result.numMessages != messages.size())
        std::abort();

    if (! result.ok)
    {
        // A layout fault is only ever found in a well-framed stream's messages, and it
        // names the start of one of them (or the end of the stream, for a missing end).
        if (result.faultOffset > size || std::strlen (result.reason) == 0)
            std::abort();

        if (result.layoutFault && result.faultOffset < size && data[result.faultOffset] != 0xf0)
            std::abort();

        if (SysexStreamValidator::describe (result, data, size).empty())
            std::abort();
    }

    return 0;
}
