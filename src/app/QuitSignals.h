#pragma once

#include <functional>
#include <memory>

//==============================================================================
/**
    Turns the system's requests to end the program into a request on the message thread,
    so that it quits the way its close button makes it quit: the transfer's thread is asked
    to stop and ends by itself, and an unattended run reports that it ended early.

    Which requests: on Linux SIGTERM (a service manager, timeout, a shutdown), SIGHUP (the
    terminal closed) and SIGINT (Ctrl+C); on Windows Ctrl+C, Ctrl+Break and the console the
    program is attached to being closed. Without this they end the process on the spot, in
    the middle of a message to the pedal. One implementation per platform, chosen by the
    build.
*/
class QuitSignals final
{
public:
    /** Catches the requests from now on; onQuitRequest runs on the message thread, from the
        message loop, after a request has arrived (requests that arrive together may give
        one call). One object at a time. */
    explicit QuitSignals (std::function<void()> onQuitRequest);

    /** The system's own handling is back. Message thread only. */
    ~QuitSignals();

private:
    struct Pimpl;
    std::unique_ptr<Pimpl> pimpl;

    QuitSignals (const QuitSignals&) = delete;
    QuitSignals& operator= (const QuitSignals&) = delete;
};
