#pragma once

#include <juce_events/juce_events.h>

#include <atomic>
#include <functional>

//==============================================================================
/** Runs the message loop (the test's main thread is the message thread) until done()
    holds or timeoutMs have passed; returns done(). The time-out only ends a hung test. */
inline bool runMessageLoopUntil (const std::function<bool()>& done, int timeoutMs = 30000)
{
    const auto giveUpAt = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;

    while (! done())
    {
        if (juce::Time::getMillisecondCounter() > giveUpAt)
            return done();

        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);
    }

    return true;
}

/** Delivers whatever asynchronous messages are pending now. */
inline void runPendingMessages()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
}

/** Runs the message loop for ms milliseconds, delivering whatever arrives meanwhile. */
inline void runMessageLoopFor (int ms)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (ms);
}

//==============================================================================
/** Counts change callbacks and runs an optional check inside each. */
class ChangeCounter final : public juce::ChangeListener
{
public:
    std::function<void (juce::ChangeBroadcaster*)> onChange;
    std::atomic<int> count { 0 };

    void changeListenerCallback (juce::ChangeBroadcaster* source) override
    {
        ++count;
        if (onChange)
            onChange (source);
    }
};
