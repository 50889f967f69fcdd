#include "SysexStreamValidator.h"

SysexStreamValidator::Result SysexStreamValidator::check (const std::uint8_t* data, std::size_t size) noexcept
{
    Result result;

    auto fail = [&result] (std::size_t offset, const char* reason)
    {
        result.ok = false;
        result.faultOffset = offset;
        result.reason = reason;
        return result;
    };

    if (data == nullptr || size == 0)
        return fail (0, "the file is empty");

    bool insideMessage = false;

    for (std::size_t i = 0; i < size; ++i)
    {
        const auto byte = data[i];

        if (! insideMessage)
        {
            if (byte != 0xf0)
                return fail (i, i == 0 ? "the file does not start with a SysEx message (F0)"
                                       : "a byte stands between two SysEx messages");
            insideMessage = true;
        }
        else if (byte == 0xf7)
        {
            insideMessage = false;
            ++result.numMessages;
        }
        else if (byte == 0xf0)
        {
            return fail (i, "a SysEx message starts before the previous one was closed by F7");
        }
        else if (byte >= 0x80)
        {
            return fail (i, "a SysEx message holds a byte of 0x80 or above");
        }
    }

    if (insideMessage)
        return fail (size, "the last SysEx message is not closed by F7");

    result.ok = true;
    return result;
}
