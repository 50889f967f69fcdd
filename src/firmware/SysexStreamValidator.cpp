#include "SysexStreamValidator.h"
#include "SysexFormat.h"

#include <cstring>

namespace
{
    enum class MessageKind
    {
        begin,
        data,
        end,
        otherDevice,
        otherModel,
        otherMessage
    };

    bool hasAt (const std::uint8_t* message, std::size_t length, std::size_t at, const std::uint8_t* expected, std::size_t n)
    {
        return length >= at + n && std::memcmp (message + at, expected, n) == 0;
    }

    /** message: one complete, well-framed message (F0 ... F7). */
    MessageKind classify (const std::uint8_t* message, std::size_t length)
    {
        using namespace SysexFormat;

        // The F7 counts as the end of the bytes compared: a message too short to hold the
        // identifier is for some other device.
        if (! hasAt (message, length - 1, 1, manufacturerId, sizeof (manufacturerId)))
            return MessageKind::otherDevice;

        if (! hasAt (message, length - 1, 4, modelId, sizeof (modelId)))
            return MessageKind::otherModel;

        const auto header = (std::size_t) headerLength;

        if (length == header + 1 && hasAt (message, length, 6, beginCommand, 2))
            return MessageKind::begin;

        if (length == header + 1 && hasAt (message, length, 6, endCommand, 2))
            return MessageKind::end;

        if (length > header + 1 && hasAt (message, length, 6, dataCommand, 2))
            return MessageKind::data;

        return MessageKind::otherMessage;
    }

    /** Follows the layout one message at a time, so the framing pass needs no second scan. */
    class LayoutFollower
    {
    public:
        /** The reason the message breaks the layout, or nullptr. */
        const char* next (const std::uint8_t* message, std::size_t length)
        {
            const auto kind = classify (message, length);
            const auto index = count++;
            const auto previous = last;
            last = kind;

            if (kind == MessageKind::otherDevice)
                return "is for another device";

            if (kind == MessageKind::otherModel)
                return "is for another model";

            if (index == 0)
                return kind == MessageKind::begin ? nullptr : "is not the begin message a firmware file starts with";

            if (previous == MessageKind::end)
                return "comes after the end message";

            switch (kind)
            {
                case MessageKind::data:  return nullptr;
                case MessageKind::end:   return index == 1 ? "is the end message, with no data message before it" : nullptr;
                case MessageKind::begin: return "is a second begin message";
                default:                 return "is not a data message";
            }
        }

        bool endedWithEndMessage() const { return count > 0 && last == MessageKind::end; }

    private:
        std::size_t count = 0;
        MessageKind last = MessageKind::otherMessage;
    };
} // namespace

SysexStreamValidator::Result SysexStreamValidator::check (const std::uint8_t* data, std::size_t size) noexcept
{
    Result result;

    auto fail = [&result] (std::size_t offset, const char* reason, bool layout)
    {
        result.ok = false;
        result.faultOffset = offset;
        result.reason = reason;
        result.layoutFault = layout;
        return result;
    };

    if (data == nullptr || size == 0)
        return fail (0, "the file is empty", false);

    LayoutFollower layout;
    bool insideMessage = false;
    std::size_t messageStart = 0;

    for (std::size_t i = 0; i < size; ++i)
    {
        const auto byte = data[i];

        if (! insideMessage)
        {
            if (byte != SysexFormat::sysexStart)
                return fail (i, i == 0 ? "the file does not start with a SysEx message (F0)"
                                       : "a byte stands between two SysEx messages", false);
            insideMessage = true;
            messageStart = i;
        }
        else if (byte == SysexFormat::sysexEnd)
        {
            insideMessage = false;

            if (const auto* fault = layout.next (data + messageStart, i + 1 - messageStart))
                return fail (messageStart, fault, true);

            ++result.numMessages;
        }
        else if (byte == SysexFormat::sysexStart)
        {
            return fail (i, "a SysEx message starts before the previous one was closed by F7", false);
        }
        else if (byte >= 0x80)
        {
            return fail (i, "a SysEx message holds a byte of 0x80 or above", false);
        }
    }

    if (insideMessage)
        return fail (size, "the last SysEx message is not closed by F7", false);

    if (! layout.endedWithEndMessage())
        return fail (size, "the file ends without the end message", true);

    result.ok = true;
    return result;
}

std::string SysexStreamValidator::describe (const Result& result, const std::uint8_t* data, std::size_t size)
{
    if (result.ok)
        return {};

    const auto offset = std::to_string (result.faultOffset);

    if (! result.layoutFault)
        return std::string (result.reason) + " (at byte offset " + offset + ")";

    if (result.faultOffset >= size)
        return std::string (result.reason) + " (at byte " + offset + ")";

    return "the message at byte " + offset + " " + result.reason + " (" + bytesAt (data, size, result.faultOffset) + ")";
}

std::string SysexStreamValidator::bytesAt (const std::uint8_t* data, std::size_t size, std::size_t offset)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    constexpr std::size_t shown = 8;
    std::string text;

    auto append = [&] (std::uint8_t byte)
    {
        if (! text.empty())
            text += ' ';

        text += digits[byte >> 4];
        text += digits[byte & 0x0f];
    };

    for (std::size_t i = offset; i < size; ++i)
    {
        const bool closes = data[i] == SysexFormat::sysexEnd && i > offset;

        // A message's closing F7 is always shown in place of the ellipsis it would need.
        if (i == offset + shown && ! closes)
            return text + " \xe2\x80\xa6";   // U+2026, an ellipsis: the message goes on

        append (data[i]);

        if (closes)
            break;
    }

    return text;
}
