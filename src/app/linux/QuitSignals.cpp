#include "app/QuitSignals.h"

#include <juce_events/juce_events.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{
    constexpr std::array<int, 3> quitSignals { SIGTERM, SIGHUP, SIGINT };

    /** The pipe's writing end, for the handler: a plain int that is set before the handlers
        are installed and cleared after they are gone. */
    volatile std::sig_atomic_t pipeToMessageThread = -1;

    void onSignal (int)
    {
        // Only what is safe in a signal handler: one write to a non-blocking pipe. A full
        // pipe already holds a request, which is all a second one would say.
        const auto savedErrno = errno;
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write (pipeToMessageThread, &byte, 1);
        errno = savedErrno;
    }
} // namespace

//==============================================================================
// The handler wakes the message loop through a pipe (the self-pipe pattern): the loop
// watches the pipe's reading end like any other file descriptor and runs the request as
// one of its own events.
struct QuitSignals::Pimpl
{
    explicit Pimpl (std::function<void()> callback)
        : onQuitRequest (std::move (callback))
    {
        if (::pipe2 (fds.data(), O_CLOEXEC | O_NONBLOCK) != 0)
            return;

        juce::LinuxEventLoop::registerFdCallback (fds[0], [this] (int) { deliver(); });
        pipeToMessageThread = fds[1];

        struct sigaction action {};
        action.sa_handler = onSignal;
        action.sa_flags = SA_RESTART;
        sigemptyset (&action.sa_mask);

        for (size_t i = 0; i < quitSignals.size(); ++i)
            sigaction (quitSignals[i], &action, &previous[i]);

        installed = true;
    }

    ~Pimpl()
    {
        if (! installed)
            return;

        for (size_t i = 0; i < quitSignals.size(); ++i)
            sigaction (quitSignals[i], &previous[i], nullptr);

        pipeToMessageThread = -1;
        juce::LinuxEventLoop::unregisterFdCallback (fds[0]);
        ::close (fds[0]);
        ::close (fds[1]);
    }

    void deliver()
    {
        char bytes[16];
        bool requested = false;

        while (::read (fds[0], bytes, sizeof (bytes)) > 0)
            requested = true;

        if (requested)
            onQuitRequest();
    }

    std::function<void()> onQuitRequest;
    std::array<int, 2> fds { -1, -1 };
    std::array<struct sigaction, quitSignals.size()> previous {};
    bool installed = false;
};

QuitSignals::QuitSignals (std::function<void()> onQuitRequest)
    : pimpl (std::make_unique<Pimpl> (std::move (onQuitRequest)))
{
}

QuitSignals::~QuitSignals() = default;
