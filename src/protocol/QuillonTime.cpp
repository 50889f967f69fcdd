#include "QuillonTime.h"

juce::uint32 QuillonTime::getTimeStamp() noexcept
{
    return juce::Time::getMillisecondCounter();
}

juce::uint32 QuillonTime::getElapsed (juce::uint32 now, juce::uint32 start) noexcept
{
    return now >= start ? now - start : now - start + counterWrap;
}

juce::uint32 QuillonTime::getElapsedSince (juce::uint32 start) noexcept
{
    return getElapsed (getTimeStamp(), start);
}

juce::uint32 QuillonTime::waitMilliseconds (juce::uint32 duration)
{
    const auto start = getTimeStamp();
    juce::uint32 elapsed = 0;

    do
    {
        juce::Thread::sleep (pollMilliseconds);
        elapsed = getElapsedSince (start);
    } while (elapsed < duration);

    return elapsed;
}
