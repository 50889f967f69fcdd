#include "MidiSendPacer.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace
{
    //==============================================================================
    /** Wakes a sleeping juce::Thread as soon as it is asked to exit. */
    class ExitAwareSleep final : private juce::Thread::Listener
    {
    public:
        explicit ExitAwareSleep (juce::Thread& t) : thread (t) { thread.addListener (this); }
        ~ExitAwareSleep() override { thread.removeListener (this); }

        bool sleepUntil (MidiSendPacer::Clock::time_point wakeTime)
        {
            std::unique_lock<std::mutex> lock (mutex);
            woken.wait_until (lock, wakeTime, [this] { return exitRequested || thread.threadShouldExit(); });
            return ! (exitRequested || thread.threadShouldExit());
        }

    private:
        void exitSignalSent() override
        {
            {
                const std::lock_guard<std::mutex> lock (mutex);
                exitRequested = true;
            }
            woken.notify_all();
        }

        juce::Thread& thread;
        std::mutex mutex;
        std::condition_variable woken;
        bool exitRequested = false;
    };

    class SteadyTimeSource final : public MidiSendPacer::TimeSource
    {
    public:
        MidiSendPacer::Clock::time_point now() override { return MidiSendPacer::Clock::now(); }

        bool sleepUntil (MidiSendPacer::Clock::time_point wakeTime) override
        {
            if (auto* thread = juce::Thread::getCurrentThread())
                return ExitAwareSleep (*thread).sleepUntil (wakeTime);

            std::this_thread::sleep_until (wakeTime);
            return true;
        }
    };

    MidiSendPacer::Clock::duration secondsToDuration (double seconds) noexcept
    {
        return std::chrono::duration_cast<MidiSendPacer::Clock::duration> (std::chrono::duration<double> (seconds));
    }

    SteadyTimeSource& steadyTimeSource()
    {
        static SteadyTimeSource source;
        return source;
    }
} // namespace

//==============================================================================
MidiSendPacer::MidiSendPacer() : MidiSendPacer (steadyTimeSource())
{
}

MidiSendPacer::MidiSendPacer (TimeSource& timeSourceToUse) : timeSource (timeSourceToUse)
{
}

MidiSendPacer::Clock::duration MidiSendPacer::pacedDuration (int numBytes) noexcept
{
    return secondsToDuration (numBytes / pacedBytesPerSecond);
}

bool MidiSendPacer::waitForBytes (int numBytes)
{
    // The port sends the new bytes after what it still holds, or from now when it holds
    // nothing. The schedule counts them as sent even when the wait is cut short: they are
    // with the port already.
    const auto now = timeSource.now();
    const auto start = portFreeAt.has_value() ? std::max (*portFreeAt, now) : now;
    portFreeAt = start + pacedDuration (numBytes);

    return timeSource.sleepUntil (*portFreeAt - backlogDuration());
}

bool MidiSendPacer::waitUntilIdle()
{
    // The backlog left at the port after the last hand-over must leave it before the
    // transfer counts as done: the port may be closed right after, and closing it drops
    // what it still holds.
    return ! portFreeAt.has_value() || timeSource.sleepUntil (*portFreeAt);
}
