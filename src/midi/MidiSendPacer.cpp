#include "MidiSendPacer.h"

#include <algorithm>
#include <thread>

namespace
{
    class SteadyTimeSource final : public MidiSendPacer::TimeSource
    {
    public:
        MidiSendPacer::Clock::time_point now() override { return MidiSendPacer::Clock::now(); }
        void sleepUntil (MidiSendPacer::Clock::time_point wakeTime) override { std::this_thread::sleep_until (wakeTime); }
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

MidiSendPacer::Clock::duration MidiSendPacer::lateSendAllowance (int numBytes) noexcept
{
    return secondsToDuration (numBytes * rateMargin / 2.0 / pacedBytesPerSecond);
}

void MidiSendPacer::waitForMessage (int numBytes)
{
    const auto handedOver = timeSource.now();
    auto start = handedOver - lateSendAllowance (numBytes);

    if (portFreeAt.has_value())
        start = std::max (start, *portFreeAt);

    portFreeAt = start + pacedDuration (numBytes);

    timeSource.sleepUntil (*portFreeAt);
}
