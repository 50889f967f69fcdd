#include "ExitAwareMessageLock.h"

bool ExitAwareMessageLock::enter()
{
    auto* const thread = juce::Thread::getCurrentThread();

    // The message thread, or a thread that cannot be asked to exit: wait as long as it takes.
    if (thread == nullptr)
    {
        lock.enter();
        return true;
    }

    thread->addListener (this);

    // tryEnter also gives up spuriously (an abort left over from an earlier exit request), so
    // the exit flag decides when to stop trying.
    bool gained = false;

    while (! gained && ! thread->threadShouldExit())
        gained = lock.tryEnter();

    thread->removeListener (this);

    if (gained && thread->threadShouldExit())
    {
        lock.exit();
        return false;
    }

    return gained;
}
