#include <gtest/gtest.h>

#include "protocol/ProgressClass.h"
#include "support/MessageLoop.h"

namespace
{
    struct RoundingCase
    {
        const char* name;
        double from, set, expected;
        int notifications;
    };
} // namespace

class ProgressRounding : public ::testing::TestWithParam<RoundingCase>
{
};

TEST_P (ProgressRounding, StoresHundredthsAndTellsListenersBeforeReturningOnlyOnAChange)
{
    const auto& param = GetParam();
    ProgressClass progress;
    progress.setProgress (param.from);
    ChangeCounter listener;
    progress.addChangeListener (&listener);

    progress.setProgress (param.set);
    EXPECT_DOUBLE_EQ (progress.getProgress(), param.expected);
    EXPECT_EQ (listener.count, param.notifications);

    runPendingMessages();
    EXPECT_EQ (listener.count, param.notifications);
}

INSTANTIATE_TEST_SUITE_P (ProgressClass, ProgressRounding,
                          ::testing::Values (RoundingCase { "belowHalfAHundredth", 0.0, 0.004, 0.0, 0 },
                                             RoundingCase { "tieToEvenZero", 0.0, 0.005, 0.0, 0 },
                                             RoundingCase { "tieUpToEvenTwo", 0.0, 0.015, 0.02, 1 },
                                             RoundingCase { "tieDownToEvenTwo", 0.0, 0.025, 0.02, 1 },
                                             RoundingCase { "sameHundredth", 0.5, 0.5049, 0.5, 0 },
                                             RoundingCase { "backToZero", 0.5, 0.0, 0.0, 1 },
                                             RoundingCase { "toFull", 0.99, 1.0, 1.0, 1 },
                                             RoundingCase { "fullAgain", 1.0, 1.0, 1.0, 0 }),
                          [] (const auto& testInfo) { return std::string (testInfo.param.name); });

//==============================================================================
TEST (ProgressClass, StatusTextIsToldLaterOnceAndOnlyWhenItChanges)
{
    ProgressClass progress;
    ChangeCounter listener;
    progress.addChangeListener (&listener);

    progress.setStatusText ("");
    runPendingMessages();
    EXPECT_EQ (listener.count, 0);

    progress.setStatusText ("Uploading firmware");
    EXPECT_EQ (listener.count, 0);
    runPendingMessages();
    EXPECT_EQ (listener.count, 1);
    EXPECT_EQ (progress.getStatusText(), "Uploading firmware");

    // Two changes still pending are delivered as one callback.
    progress.setStatusText ("one");
    progress.setStatusText ("two");
    runPendingMessages();
    EXPECT_EQ (listener.count, 2);
    EXPECT_EQ (progress.getStatusText(), "two");
}

//==============================================================================
namespace
{
    class ProgressThread final : public juce::Thread
    {
    public:
        ProgressThread (ProgressClass& p, bool exitFirst) : juce::Thread ("progress"), progress (p), askToExitFirst (exitFirst) {}

        void run() override
        {
            if (askToExitFirst)
                signalThreadShouldExit();

            progress.setProgress (0.5);
            progress.setStatusText ("from the thread");
        }

    private:
        ProgressClass& progress;
        const bool askToExitFirst;
    };
} // namespace

TEST (ProgressClass, AThreadTellsListenersOnItselfWhileHoldingTheMessageThread)
{
    ProgressClass progress;
    ChangeCounter listener;
    std::atomic<bool> heldTheMessageThread { false };
    ProgressThread thread (progress, false);
    listener.onChange = [&] (juce::ChangeBroadcaster*)
    {
        if (juce::Thread::getCurrentThread() == &thread)
            heldTheMessageThread = juce::MessageManager::getInstance()->currentThreadHasLockedMessageManager()
                                   && progress.getProgress() == 0.5;
    };
    progress.addChangeListener (&listener);

    thread.startThread();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ! thread.isThreadRunning(); }));
    runPendingMessages();

    EXPECT_TRUE (heldTheMessageThread);
    EXPECT_EQ (listener.count, 2); // the progress, then the status text
    EXPECT_EQ (progress.getStatusText(), "from the thread");
}

TEST (ProgressClass, AThreadAskedToExitStoresTheValueButDoesNotWaitToTellIt)
{
    ProgressClass progress;
    ChangeCounter listener;
    progress.addChangeListener (&listener);
    ProgressThread thread (progress, true);

    // The message loop is not run: a thread that waited for it would never end.
    thread.startThread();
    EXPECT_TRUE (thread.waitForThreadToExit (10000));

    EXPECT_EQ (progress.getProgress(), 0.5);
    EXPECT_EQ (listener.count, 0);
    runPendingMessages();
    EXPECT_EQ (listener.count, 1); // only the status text
}
