#include <gtest/gtest.h>

#include "app/InstanceHandover.h"
#include "support/MessageLoop.h"

namespace
{
    juce::String uniqueKey() { return "Firmhold tests " + juce::String (juce::Time::getHighResolutionTicks()); }
} // namespace

TEST (InstanceHandover, ALaterStartsCommandLineReachesTheRunningInstanceOnTheMessageThread)
{
    const auto key = uniqueKey();
    juce::StringArray received;
    bool onMessageThread = false;

    InstanceHandover running (key, [&] (const juce::String& line)
    {
        received.add (line);
        onMessageThread = juce::MessageManager::getInstance()->isThisTheMessageThread();
    });

    // Blanks, quotes and non-ASCII letters arrive as they were sent.
    const juce::String line (juce::CharPointer_UTF8 ("--file \"/home/anna/Pr\xc3\xbc" "fung/p v2.syx\""));
    InstanceHandover::handOver (key, line);
    InstanceHandover::handOver (key, {});

    ASSERT_TRUE (runMessageLoopUntil ([&] { return received.size() == 2; }, 5000));
    EXPECT_EQ (received[0], line);
    EXPECT_EQ (received[1], "");
    EXPECT_TRUE (onMessageThread);
}

TEST (InstanceHandover, OnlyTheFirstListenerUnderAKeyHearsAndNobodyListeningIsNoError)
{
    const auto key = uniqueKey();
    int first = 0, second = 0;

    InstanceHandover::handOver (key, "before anyone listens");

    InstanceHandover running (key, [&] (const juce::String&) { ++first; });
    InstanceHandover later (key, [&] (const juce::String&) { ++second; });

    InstanceHandover::handOver (key, "--autoupdate");
    ASSERT_TRUE (runMessageLoopUntil ([&] { return first == 1; }, 5000));
    runMessageLoopFor (50);

    EXPECT_EQ (first, 1);
    EXPECT_EQ (second, 0);
}
