#pragma once

#include <juce_core/juce_core.h>

//==============================================================================
/**
    Millisecond time stamps from the framework's millisecond counter, elapsed-time
    arithmetic across its wrap, and a polling wait.
*/
class QuillonTime : public juce::Time
{
public:
    /** The counter is taken to wrap at 2^24 ms (about 4.66 hours). */
    static constexpr juce::uint32 counterWrap = 1u << 24;
    static constexpr int pollMilliseconds = 10;

    QuillonTime() : juce::Time (0) {}

    // The transfer never waits on these (the port's own pace holds it); they are kept for a
    // protocol that has to time the pedal's answers.
    static juce::uint32 getTimeStamp() noexcept;
    static juce::uint32 getElapsed (juce::uint32 now, juce::uint32 start) noexcept;
    static juce::uint32 getElapsedSince (juce::uint32 start) noexcept;

    /** Blocks the caller, in steps of 10 ms, until duration ms have passed (always at least
        one step); returns the elapsed time measured at the end. */
    static juce::uint32 waitMilliseconds (juce::uint32 duration);
};
