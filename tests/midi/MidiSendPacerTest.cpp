#include <gtest/gtest.h>

#include "midi/MidiSendPacer.h"

#include <juce_core/juce_core.h>

#include <atomic>

using namespace std::chrono_literals;
using Clock = MidiSendPacer::Clock;

namespace
{
    /** A clock that moves only when slept on (by the sleep plus a set overshoot) or by hand. */
    class SteppedTimeSource final : public MidiSendPacer::TimeSource
    {
    public:
        Clock::time_point now() override { return time; }

        bool sleepUntil (Clock::time_point wakeTime) override
        {
            wakeTimes.push_back (wakeTime);
            time = std::max (time, wakeTime) + overshoot;
            return true;
        }

        Clock::time_point time { 1h };
        Clock::duration overshoot { 0 };
        std::vector<Clock::time_point> wakeTimes;
    };

    double seconds (Clock::duration d) { return std::chrono::duration<double> (d).count(); }

    const auto dataMessage = MidiSendPacer::pacedDuration (599);
    const auto backlog = MidiSendPacer::backlogDuration();
} // namespace

//==============================================================================
TEST (MidiSendPacer, PacesAtTheWireRateLessThreePercentWithAOneKilobyteBacklog)
{
    EXPECT_NEAR (MidiSendPacer::pacedBytesPerSecond, 3031.25, 1e-9);
    EXPECT_NEAR (seconds (dataMessage), 599 / 3031.25, 1e-6);                        // about 198 ms
    EXPECT_NEAR (seconds (MidiSendPacer::pacedDuration (243212)), 80.235, 0.001);    // the built-in image
    EXPECT_NEAR (seconds (backlog), 1024 / 3031.25, 1e-6);                           // about 338 ms
}

TEST (MidiSendPacer, HandsOverAtOnceUntilTheBacklogIsFullThenAtThePacedRate)
{
    SteppedTimeSource time;
    MidiSendPacer pacer (time);
    const auto firstHandOver = time.time;

    for (int i = 0; i < 6; ++i)
        pacer.waitForBytes (599);

    ASSERT_EQ (time.wakeTimes.size(), 6u);
    // Each message is scheduled after the one before; the wait ends once no more than the
    // backlog is left: the first message's wait ends at once.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ (time.wakeTimes[(size_t) i], firstHandOver + (i + 1) * dataMessage - backlog) << i;
    EXPECT_EQ (time.time, time.wakeTimes.back());
}

TEST (MidiSendPacer, LatenessWithinTheBacklogCostsNoWireTime)
{
    SteppedTimeSource time;
    time.overshoot = backlog / 2;
    MidiSendPacer pacer (time);
    const auto start = time.time;

    for (int i = 0; i < 400; ++i)
        pacer.waitForBytes (599);

    EXPECT_EQ (time.wakeTimes.back(), start + 400 * dataMessage - backlog);
}

TEST (MidiSendPacer, ASenderLaterThanTheWholeBacklogFindsThePortIdleAndStartsAgain)
{
    SteppedTimeSource time;
    MidiSendPacer pacer (time);
    pacer.waitForBytes (599);
    pacer.waitForBytes (599);

    time.time += 2 * dataMessage; // the port has emptied and idled meanwhile
    const auto handOver = time.time;
    pacer.waitForBytes (599);

    EXPECT_EQ (time.wakeTimes[2], handOver + dataMessage - backlog);
}

TEST (MidiSendPacer, ANewPortIsFreeAtOnce)
{
    SteppedTimeSource time;
    MidiSendPacer pacer (time);
    for (int i = 0; i < 5; ++i)
        pacer.waitForBytes (599);

    pacer.reset();
    const auto handOver = time.time;
    pacer.waitForBytes (9);

    EXPECT_EQ (time.wakeTimes.back(), handOver + MidiSendPacer::pacedDuration (9) - backlog);
}

TEST (MidiSendPacer, TheBuiltInImageTakesItsPacedTimeDespiteWorkAndOvershootPerMessage)
{
    SteppedTimeSource time;
    time.overshoot = 1ms;
    MidiSendPacer pacer (time);
    const auto start = time.time;

    std::vector<int> lengths (406, 599);
    lengths.insert (lengths.begin(), 9);
    lengths.push_back (9);

    for (auto length : lengths)
    {
        pacer.waitForBytes (length);
        time.time += 200us; // the sender's own work between two sends
    }

    // The last wait ends when only the backlog is left, the port busy from start to end.
    EXPECT_NEAR (seconds (time.wakeTimes.back() + backlog - start), seconds (MidiSendPacer::pacedDuration (243212)), 1e-6);
}

TEST (MidiSendPacer, AnExitRequestEndsTheWaitEarly)
{
    // Ten seconds of bytes at the paced rate; the thread is asked to exit long before.
    class Sender final : public juce::Thread
    {
    public:
        Sender() : juce::Thread ("pacer test") {}

        void run() override
        {
            started.signal();
            waitedInFull = pacer.waitForBytes ((int) (MidiSendPacer::pacedBytesPerSecond * 10));
        }

        MidiSendPacer pacer;
        juce::WaitableEvent started;
        std::atomic<bool> waitedInFull { true };
    };

    Sender sender;
    sender.startThread();
    ASSERT_TRUE (sender.started.wait (5000));
    juce::Thread::sleep (20);

    sender.signalThreadShouldExit();
    EXPECT_TRUE (sender.waitForThreadToExit (5000));
    EXPECT_FALSE (sender.waitedInFull);
}

TEST (MidiSendPacer, TheEndOfATransferWaitsOutTheBacklog)
{
    SteppedTimeSource time;
    MidiSendPacer pacer (time);

    EXPECT_TRUE (pacer.waitUntilIdle());     // nothing handed over: no wait at all
    EXPECT_TRUE (time.wakeTimes.empty());

    const auto firstHandOver = time.time;
    for (int i = 0; i < 3; ++i)
        pacer.waitForBytes (599);

    EXPECT_TRUE (pacer.waitUntilIdle());
    ASSERT_EQ (time.wakeTimes.size(), 4u);
    // Not just down to the backlog: until the last byte has had its time on the wire.
    EXPECT_EQ (time.wakeTimes.back(), firstHandOver + 3 * dataMessage);
}
