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
    const auto dataAllowance = MidiSendPacer::lateSendAllowance (599);
} // namespace

//==============================================================================
TEST (MidiSendPacer, PacesAtTheWireRateLessThreePercent)
{
    EXPECT_NEAR (MidiSendPacer::pacedBytesPerSecond, 3031.25, 1e-9);
    EXPECT_NEAR (seconds (dataMessage), 599 / 3031.25, 1e-6);                        // about 198 ms
    EXPECT_NEAR (seconds (MidiSendPacer::pacedDuration (243212)), 80.235, 0.001);    // the built-in image
    EXPECT_NEAR (seconds (dataAllowance), seconds (dataMessage) * 0.015, 1e-6);
}

TEST (MidiSendPacer, BackToBackMessagesAreChainedFromWhenThePortBecomesFree)
{
    SteppedTimeSource time;
    MidiSendPacer pacer (time);
    const auto firstHandOver = time.time;

    for (int i = 0; i < 3; ++i)
        pacer.waitForBytes (599);

    ASSERT_EQ (time.wakeTimes.size(), 3u);
    // The first message finds the port idle; each later one starts when the previous ends.
    EXPECT_EQ (time.wakeTimes[0], firstHandOver - dataAllowance + dataMessage);
    EXPECT_EQ (time.wakeTimes[1], time.wakeTimes[0] + dataMessage);
    EXPECT_EQ (time.wakeTimes[2], time.wakeTimes[1] + dataMessage);
}

TEST (MidiSendPacer, SleepOvershootWithinTheAllowanceDoesNotAddUp)
{
    SteppedTimeSource time;
    time.overshoot = dataAllowance / 2;
    MidiSendPacer pacer (time);

    for (int i = 0; i < 400; ++i)
        pacer.waitForBytes (599);

    EXPECT_EQ (time.wakeTimes.back(), time.wakeTimes.front() + 399 * dataMessage);
}

TEST (MidiSendPacer, ASenderLateBeyondTheAllowanceStartsANewChainFromItsHandOver)
{
    SteppedTimeSource time;
    MidiSendPacer pacer (time);
    pacer.waitForBytes (599);

    time.time += 10ms; // the port has idled: no credit for that time
    const auto handOver = time.time;
    pacer.waitForBytes (599);

    EXPECT_EQ (time.wakeTimes[1], handOver - dataAllowance + dataMessage);
    EXPECT_GT (time.wakeTimes[1], handOver);
}

TEST (MidiSendPacer, ANewPortIsFreeAtOnce)
{
    SteppedTimeSource time;
    MidiSendPacer pacer (time);
    pacer.waitForBytes (599);
    time.time -= 100ms; // as if the clock had not moved while the port was changed

    pacer.reset();
    const auto handOver = time.time;
    pacer.waitForBytes (9);

    EXPECT_EQ (time.wakeTimes[1], handOver - MidiSendPacer::lateSendAllowance (9) + MidiSendPacer::pacedDuration (9));
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

    // Never ahead of the paced rate (the port keeps up), and no drift beyond the per-message
    // lateness the small control messages cannot absorb.
    const auto lastFree = time.wakeTimes.back();
    EXPECT_GE (lastFree - start, MidiSendPacer::pacedDuration (243212) - MidiSendPacer::lateSendAllowance (9));
    EXPECT_LE (seconds (lastFree - start), seconds (MidiSendPacer::pacedDuration (243212)) + 0.01);
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
