#pragma once

#include <juce_events/juce_events.h>

//==============================================================================
/**
    Holds the message thread for a call made on another thread, and gives up as soon as the
    calling juce::Thread is asked to exit (a message thread waiting for that thread to end
    must never be blocked by it).

    It does what juce::MessageManagerLock (Thread*) does, with one difference that matters:
    the lock lives as long as this object, not for one call. When the message thread grants
    the lock it signals the waiting thread and only then returns from that signal; the
    waiter may already have run its call and left by then. A MessageManagerLock on the
    waiter's stack is gone at that moment, and the message thread's signal lands in freed
    stack memory (seen as std::system_error "Invalid argument" and std::terminate on a busy
    machine). Kept here, in an object that outlives its thread's work, the late signal only
    meets an idle event, which the next acquisition tolerates.

    One thread at a time may use an object (the message thread may use it as well: it holds
    itself already). Destroy it on the message thread, after the threads that used it ended.
*/
class ExitAwareMessageLock final : private juce::Thread::Listener
{
public:
    ExitAwareMessageLock() = default;
    ~ExitAwareMessageLock() override = default;

    /** Calls function with the message thread held; false, without calling it, when the
        calling thread was asked to exit before the lock was gained. */
    template <typename Function>
    bool callWhileLocked (Function&& function)
    {
        if (! enter())
            return false;

        function();
        lock.exit();
        return true;
    }

private:
    bool enter();
    void exitSignalSent() override { lock.abort(); }

    juce::MessageManager::Lock lock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ExitAwareMessageLock)
};
