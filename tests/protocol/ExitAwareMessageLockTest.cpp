#include <gtest/gtest.h>

#include "protocol/ExitAwareMessageLock.h"
#include "support/MessageLoop.h"

#include <atomic>
#include <cstring>

namespace
{
    /** Overwrites a stretch of its thread's stack, where a lock on the stack would have lived. */
    __attribute__ ((noinline)) int churnStack (int seed)
    {
        volatile char scratch[4096];
        std::memset (const_cast<char*> (scratch), seed, sizeof (scratch));
        return scratch[seed & 0xfff];
    }

    class LockingThread final : public juce::Thread
    {
    public:
        explicit LockingThread (int n) : juce::Thread ("Locking"), acquisitions (n) {}

        void run() override
        {
            for (int i = 0; i < acquisitions && ! threadShouldExit(); ++i)
            {
                if (lock.callWhileLocked ([this] { ++gained; }))
                    churnStack (i);
            }
        }

        ExitAwareMessageLock lock;
        const int acquisitions;
        std::atomic<int> gained { 0 };
    };
} // namespace

TEST (ExitAwareMessageLock, ManyAcquisitionsFromAThreadWhileTheMessageThreadGrantsThem)
{
    // The message thread signals the waiter after granting the lock and may still be in
    // that signal when the waiter has run its call and moved on. With the lock on the
    // waiter's stack, the next call's frame overwrites it under the signal: std::terminate
    // now and then (and a report under ThreadSanitizer). Kept in the object, it holds.
    LockingThread thread (3000);
    thread.startThread();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ! thread.isThreadRunning(); }, 120000));
    EXPECT_EQ (thread.gained, 3000);
}

TEST (ExitAwareMessageLock, GivesUpWhenItsThreadIsAskedToExit)
{
    // The message thread does not run its loop here, as when it waits for the thread to end.
    LockingThread thread (1);
    thread.startThread();
    juce::Thread::sleep (50);
    EXPECT_TRUE (thread.isThreadRunning()) << "the lock cannot be had while the loop stands still";

    thread.signalThreadShouldExit();
    EXPECT_TRUE (thread.waitForThreadToExit (5000));
    EXPECT_EQ (thread.gained, 0);
}
