#pragma once

#include "SendPacing.h"

#include <chrono>
#include <optional>

//==============================================================================
/**
    Holds a sender to the pace of a MIDI port whose send returns before the port has
    transmitted the message.

    The pacer keeps a model of the port's backlog: the bytes handed over and not yet sent
    at the paced rate, the wire rate (31250 baud, ten bits a byte) less a margin, because a
    real port runs a little slower than its nominal rate. After each hand-over,
    waitForBytes() returns once that backlog is down to backlogBytes. The real port,
    faster than the model, never holds more, far below the few kilobytes of a port's
    buffer; and a backlog that size keeps the port busy while the sender comes back late
    from a sleep (a loaded machine), so that lateness costs no wire time. A sender later
    than the whole backlog finds the port idle, and the schedule starts again from then.

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
    static constexpr int backlogBytes = 1024;

    /** Uses std::chrono::steady_clock and a sleep that the calling juce::Thread's exit
        request ends. */
    MidiSendPacer();
    explicit MidiSendPacer (TimeSource& timeSourceToUse);

    bool waitForBytes (int numBytes) override;
    bool waitUntilIdle() override;
    void reset() noexcept override { portFreeAt.reset(); }

    /** How long numBytes take at the paced rate. */
    static Clock::duration pacedDuration (int numBytes) noexcept;

    /** How long the allowed backlog takes to drain at the paced rate. */
    static Clock::duration backlogDuration() noexcept { return pacedDuration (backlogBytes); }

private:
    TimeSource& timeSource;
    std::optional<Clock::time_point> portFreeAt;
};
