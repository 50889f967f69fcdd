#include <gtest/gtest.h>

#include "firmware/SysexFormat.h"
#include "firmware/SysexStreamValidator.h"
#include "support/PedalImage.h"

#include <fstream>
#include <iterator>

using PedalImage::Bytes;

namespace
{
    Bytes releaseFile()
    {
        std::ifstream in (FIRMHOLD_RELEASE_FILE, std::ios::binary);
        return { std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>() };
    }

    /** image with every byte at offset within each message replaced by value. */
    Bytes withByteInEveryMessage (Bytes image, std::size_t offset, std::uint8_t value)
    {
        for (std::size_t start = 0; start < image.size(); ++start)
            if (image[start] == SysexFormat::sysexStart)
                image[start + offset] = value;

        return image;
    }

    const Bytes synthDump { 0xf0, 0x43, 0x10, 0x4c, 0x00, 0x00, 0x7e, 0x00, 0xf7 };
    const Bytes universalIdentityRequest { 0xf0, 0x7e, 0x7f, 0x06, 0x01, 0xf7 };

    struct Case
    {
        const char* name;
        Bytes bytes;
        bool ok;
        std::size_t offset;
        bool layoutFault;
        const char* description;   // what describe() says, from its start
    };
} // namespace

TEST (SysexStreamValidator, TakesThePedalsFirmwareOnlyAndNamesTheFirstOffendingMessage)
{
    const auto release = releaseFile();
    ASSERT_FALSE (release.empty());

    const auto image = PedalImage::make ({ { 0x00 }, { 0x7f, 0x01, 0x02 }, Bytes (1000, 0x55) });
    const auto small = PedalImage::make (1, 3);
    const auto begin = PedalImage::beginMessage();
    const auto end = PedalImage::endMessage();
    const auto data = PedalImage::dataMessage ({ 0x01, 0x02 });
    const Bytes noPayload { 0xf0, 0x00, 0x4f, 0x51, 0x00, 0x6d, 0x52, 0x00, 0xf7 };
    const Bytes longBegin { 0xf0, 0x00, 0x4f, 0x51, 0x00, 0x6d, 0x51, 0x01, 0x00, 0xf7 };
    const Bytes otherCommand { 0xf0, 0x00, 0x4f, 0x51, 0x00, 0x6d, 0x53, 0x00, 0x01, 0xf7 };

    const Case cases[] = {
        { "the release file", release, true, 0, false, "" },
        { "other payloads and lengths", image, true, 0, false, "" },
        { "one data message of one byte", PedalImage::make (1, 1), true, 0, false, "" },

        { "another maker's dump", synthDump, false, 0, true, "the message at byte 0 is for another device (F0 43 10 4C 00 00 7E 00 F7)" },
        { "another maker's id throughout", withByteInEveryMessage (image, 2, 0x20), false, 0, true, "the message at byte 0 is for another device (F0 00 20 51 00 6D 51 01 F7)" },
        { "another model byte", withByteInEveryMessage (image, 5, 0x6e), false, 0, true, "the message at byte 0 is for another model (F0 00 4F 51 00 6E 51 01 F7)" },
        { "no begin message", Bytes (small.begin() + 9, small.end()), false, 0, true, "the message at byte 0 is not the begin message a firmware file starts with (F0 00 4F 51 00 6D 52 00 \xe2\x80\xa6)" },
        { "no end message", Bytes (small.begin(), small.end() - 9), false, small.size() - 9, true, "the file ends without the end message (at byte 21)" },
        { "begin message only", begin, false, 9, true, "the file ends without the end message (at byte 9)" },
        { "begin and end only", PedalImage::concat ({ begin, end }), false, 9, true, "the message at byte 9 is the end message, with no data message before it (F0 00 4F 51 00 6D 52 01 F7)" },
        { "a foreign message inside", PedalImage::concat ({ begin, data, synthDump, data, end }), false, 20, true, "the message at byte 20 is for another device" },
        { "a data message without payload", PedalImage::concat ({ begin, data, noPayload, end }), false, 20, true, "the message at byte 20 is not a data message (F0 00 4F 51 00 6D 52 00 F7)" },
        { "another command inside", PedalImage::concat ({ begin, otherCommand, end }), false, 9, true, "the message at byte 9 is not a data message" },
        { "a begin message with a byte more", PedalImage::concat ({ longBegin, data, end }), false, 0, true, "the message at byte 0 is not the begin message" },
        { "a second begin message inside", PedalImage::concat ({ begin, data, begin, data, end }), false, 20, true, "the message at byte 20 is a second begin message" },
        { "universal SysEx before the begin", PedalImage::concat ({ universalIdentityRequest, small }), false, 0, true, "the message at byte 0 is for another device (F0 7E 7F 06 01 F7)" },
        { "two images back to back", PedalImage::concat ({ small, small }), false, small.size(), true, "the message at byte 30 comes after the end message" },
        { "the release file twice", PedalImage::concat ({ release, release }), false, release.size(), true, "the message at byte 243212 comes after the end message" },

        // The framing rules stand, whatever the messages say.
        { "empty", {}, false, 0, false, "the file is empty (at byte offset 0)" },
        { "no F0 first", { 0x00 }, false, 0, false, "the file does not start" },
        { "stray F7 first", { 0xf7 }, false, 0, false, "the file does not start" },
        { "unclosed first message", { 0xf0 }, false, 1, false, "the last SysEx message is not closed by F7 (at byte offset 1)" },
        { "unclosed last message", PedalImage::concat ({ begin, data, { 0xf0, 0x00 } }), false, 22, false, "the last SysEx message" },
        { "a byte of 0x80", PedalImage::concat ({ begin, { 0xf0, 0x00, 0x4f, 0x51, 0x00, 0x6d, 0x52, 0x00, 0x80, 0xf7 }, end }), false, 17, false, "a SysEx message holds a byte of 0x80" },
        { "F0 inside a message", PedalImage::concat ({ begin, { 0xf0, 0x00, 0xf0, 0xf7 } }), false, 11, false, "a SysEx message starts before" },
        { "a byte between messages", PedalImage::concat ({ begin, { 0x05 }, data, end }), false, 9, false, "a byte stands between" },
        { "a stray F7 between messages", PedalImage::concat ({ begin, { 0xf7 }, data, end }), false, 9, false, "a byte stands between" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto result = SysexStreamValidator::check (c.bytes.data(), c.bytes.size());
        const auto description = SysexStreamValidator::describe (result, c.bytes.data(), c.bytes.size());

        EXPECT_EQ (result.ok, c.ok);
        EXPECT_EQ (result.faultOffset, c.offset);
        EXPECT_EQ (result.layoutFault, c.layoutFault);
        EXPECT_EQ (result.ok, std::string (result.reason).empty());
        EXPECT_EQ (description.rfind (c.description, 0), 0u) << description;
    }

    EXPECT_EQ (SysexStreamValidator::check (release.data(), release.size()).numMessages, 408u);
    EXPECT_EQ (SysexStreamValidator::check (image.data(), image.size()).numMessages, 5u);
}
