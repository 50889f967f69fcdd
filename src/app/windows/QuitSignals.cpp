#include "app/QuitSignals.h"

#include <juce_events/juce_events.h>

#include <mutex>
#include <windows.h>

namespace
{
    /** The handler runs on a thread the system starts for each event; what it reaches is
        guarded here, because the object may be going while an event arrives. */
    std::mutex handlerLock;
    std::function<void()>* installedCallback = nullptr;   // under handlerLock
    bool requestPending = false;                           // under handlerLock

    void deliverOnMessageThread()
    {
        std::function<void()> callback;

        {
            const std::lock_guard<std::mutex> lock (handlerLock);

            if (installedCallback == nullptr || ! requestPending)
                return;

            requestPending = false;
            callback = *installedCallback;
        }

        callback();
    }

    BOOL WINAPI onConsoleEvent (DWORD event)
    {
        if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
            return FALSE;   // log-off and shut-down reach the windows as the system's quit

        {
            const std::lock_guard<std::mutex> lock (handlerLock);

            if (installedCallback == nullptr)
                return FALSE;

            if (! requestPending)
            {
                requestPending = true;
                juce::MessageManager::callAsync (deliverOnMessageThread);
            }
        }

        // The console is going: the system ends the process as soon as this returns (or
        // after its own grace of some seconds). Wait here instead, so that the program
        // finishes its quit and ends with its own exit status, which ends this thread too.
        if (event == CTRL_CLOSE_EVENT)
            ::Sleep (INFINITE);

        return TRUE;
    }
} // namespace

//==============================================================================
struct QuitSignals::Pimpl
{
    explicit Pimpl (std::function<void()> callback)
        : onQuitRequest (std::move (callback))
    {
        {
            const std::lock_guard<std::mutex> lock (handlerLock);
            installedCallback = &onQuitRequest;
        }

        ::SetConsoleCtrlHandler (onConsoleEvent, TRUE);
    }

    ~Pimpl()
    {
        ::SetConsoleCtrlHandler (onConsoleEvent, FALSE);

        const std::lock_guard<std::mutex> lock (handlerLock);
        installedCallback = nullptr;
        requestPending = false;
    }

    std::function<void()> onQuitRequest;
};

QuitSignals::QuitSignals (std::function<void()> onQuitRequest)
    : pimpl (std::make_unique<Pimpl> (std::move (onQuitRequest)))
{
}

QuitSignals::~QuitSignals() = default;
