#include <gtest/gtest.h>

#include "firmware/SysexStreamValidator.h"

#include <vector>

TEST (SysexStreamValidator, AcceptsBackToBackMessagesAndNamesTheFirstFault)
{
    struct Case
    {
        std::vector<std::uint8_t> bytes;
        bool ok;
        std::size_t offset;
        std::size_t messages;
    };

    const Case cases[] = {
        { { 0xf0, 0xf7 }, true, 0, 1 },
        { { 0xf0, 0x00, 0x7f, 0xf7, 0xf0, 0x01, 0xf7 }, true, 0, 2 },
        { {}, false, 0, 0 },
        { { 0x00 }, false, 0, 0 },
        { { 0xf7 }, false, 0, 0 },
        { { 0xf0 }, false, 1, 0 },
        { { 0xf0, 0x01, 0xf7, 0xf0, 0x02 }, false, 5, 1 },
        { { 0xf0, 0x80, 0xf7 }, false, 1, 0 },
        { { 0xf0, 0xfe, 0xf7 }, false, 1, 0 },
        { { 0xf0, 0xf0, 0xf7 }, false, 1, 0 },
        { { 0xf0, 0xf7, 0x00, 0xf0, 0xf7 }, false, 2, 1 },
        { { 0xf0, 0xf7, 0xf7 }, false, 2, 1 },
    };

    for (const auto& c : cases)
    {
        const auto result = SysexStreamValidator::check (c.bytes.data(), c.bytes.size());
        EXPECT_EQ (result.ok, c.ok);
        EXPECT_EQ (result.faultOffset, c.offset);
        EXPECT_EQ (result.numMessages, c.messages);
        EXPECT_EQ (result.ok, std::string (result.reason).empty());
    }
}
