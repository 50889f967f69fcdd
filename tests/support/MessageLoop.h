#pragma once

#include <juce_events/juce_events.h>

#include <functional>

/*  Pumping the message loop from a test running on the message thread. */
namespace MessageLoop
{
    /** Runs the message loop until condition holds or timeoutMs pass; returns condition(). */
    inline bool runUntil (const std::function<bool()>& condition, int timeoutMs = 10000)
    {
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

        while (! condition() && juce::Time::getMillisecondCounter() < end)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (5);

        return condition();
    }

    /** Runs the message loop for ms milliseconds, delivering whatever is pending. */
    inline void run (int ms) { juce::MessageManager::getInstance()->runDispatchLoopUntil (ms); }
} // namespace MessageLoop
