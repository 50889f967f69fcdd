#include <gtest/gtest.h>

#include "protocol/QuillonTime.h"

namespace
{
    struct ElapsedCase
    {
        const char* name;
        juce::uint32 now, start, expected;
    };
} // namespace

class QuillonTimeElapsed : public ::testing::TestWithParam<ElapsedCase>
{
};

TEST_P (QuillonTimeElapsed, CountsAcrossTheCounterWrap)
{
    EXPECT_EQ (QuillonTime::getElapsed (GetParam().now, GetParam().start), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P (QuillonTime, QuillonTimeElapsed,
                          ::testing::Values (ElapsedCase { "forward", 1000, 400, 600 },
                                             ElapsedCase { "same", 400, 400, 0 },
                                             ElapsedCase { "acrossTheWrap", 5, (1u << 24) - 6, 11 },
                                             ElapsedCase { "justAfterTheWrap", 0, (1u << 24) - 1, 1 }),
                          [] (const auto& testInfo) { return std::string (testInfo.param.name); });

TEST (QuillonTime, WaitsAtLeastOnePollAndAtLeastTheDuration)
{
    QuillonTime time;
    const auto start = time.getTimeStamp();

    EXPECT_GE (time.waitMilliseconds (0), 10u);
    EXPECT_GE (time.waitMilliseconds (25), 25u);
    EXPECT_GE (time.getElapsedSince (start), 35u);
}
