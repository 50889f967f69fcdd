#include "app/QuitSignals.h"

#include <juce_events/juce_events.h>

#include <array>
#include <atomic>
#include <csignal>

namespace
{
    constexpr std::array<int, 3> quitSignals { SIGTERM, SIGHUP, SIGINT };

    /** Set by the handler (a lock-free atomic store is safe there), taken by the timer. */
    std::atomic<bool> quitRequested { false };
    static_assert (std::atomic<bool>::is_always_lock_free);

    void onSignal (int) { quitRequested.store (true); }
} // namespace

//==============================================================================
// The handler only sets a flag; a timer on the message thread looks at it a few times a
// second and runs the request there.
struct QuitSignals::Pimpl final : private juce::Timer
{
    explicit Pimpl (std::function<void()> callback)
        : onQuitRequest (std::move (callback))
    {
        struct sigaction action {};
        action.sa_handler = onSignal;
        action.sa_flags = SA_RESTART;
        sigemptyset (&action.sa_mask);

        for (size_t i = 0; i < quitSignals.size(); ++i)
            sigaction (quitSignals[i], &action, &previous[i]);

        startTimer (50);
    }

    ~Pimpl() override
    {
        stopTimer();

        for (size_t i = 0; i < quitSignals.size(); ++i)
            sigaction (quitSignals[i], &previous[i], nullptr);
    }

    void timerCallback() override
    {
        if (quitRequested.exchange (false))
            onQuitRequest();
    }

    std::function<void()> onQuitRequest;
    std::array<struct sigaction, quitSignals.size()> previous {};
};

QuitSignals::QuitSignals (std::function<void()> onQuitRequest)
    : pimpl (std::make_unique<Pimpl> (std::move (onQuitRequest)))
{
}

QuitSignals::~QuitSignals() = default;
