#pragma once

#include "SendPacing.h"

#include <chrono>
#include <optional>

//==============================================================================
/**
    Holds a sender to the pace of a MIDI port whose send returns before the port has
    transmitted the message.

    After each hand-over, waitForBytes() returns when its transmission time has passed since
    the port became free. The rate is the MIDI wire rate (31250 baud, ten bits a byte) less
    a margin, because a real port runs a little slower than its nominal rate and any backlog
    left when the port is closed is lost.

    The schedule is chained from the time the port becomes free, never from the moment a
    sleep ended, so sleep overshoot does not add up over a long transfer. A sender that
    comes back later than the port's finishing time by less than half the margin is taken
    to be on time (the port, faster than the paced rate, has not been idle); beyond that,
    the port has been idle and only the excess is lost to the schedule.

    The wait gives way at once to an exit request of the juce::Thread that waits.
*/
class MidiSendPacer final : public SendPacing
{
public:
    using Clock = std::chrono::steady_clock;

    /** The clock and the sleep, separate so that the arithmetic can be checked without waiting. */
    class TimeSource
    {
    public:
        virtual ~TimeSource() = default;
        virtual Clock::time_point now() = 0;

        /** Sleeps until wakeTime; false when it gave up early for an exit request. */
        virtual bool sleepUntil (Clock::time_point wakeTime) = 0;
    };

    static constexpr double wireBytesPerSecond = 31250.0 / 10.0;
    static constexpr double rateMargin = 0.03;
    static constexpr double pacedBytesPerSecond = wireBytesPerSecond * (1.0 - rateMargin);

    /** Uses std::chrono::steady_clock and a sleep that the calling juce::Thread's exit
        request ends. */
    MidiSendPacer();
    explicit MidiSendPacer (TimeSource& timeSourceToUse);

    bool waitForBytes (int numBytes) override;
    void reset() noexcept override { portFreeAt.reset(); }

    /** How long numBytes take at the paced rate. */
    static Clock::duration pacedDuration (int numBytes) noexcept;

    /** How late a sender may come back and still count as on time. */
    static Clock::duration lateSendAllowance (int numBytes) noexcept;

private:
    TimeSource& timeSource;
    std::optional<Clock::time_point> portFreeAt;
};
