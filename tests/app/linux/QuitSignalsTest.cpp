#include <gtest/gtest.h>

#include "app/Application.h"
#include "app/QuitSignals.h"
#include "common/AutoUpdate.h"
#include "panel/ContentComp.h"
#include "support/FakeMidiPortProvider.h"
#include "support/MessageLoop.h"
#include "support/RecordingAlertPresenter.h"

#include <atomic>
#include <csignal>

namespace
{
    std::atomic<int> signalsSeenByThePreviousHandler { 0 };
    void previousHandler (int) { ++signalsSeenByThePreviousHandler; }
} // namespace

TEST (QuitSignals, EachQuitSignalBecomesOneRequestOnTheMessageThread)
{
    for (const int signal : { SIGTERM, SIGHUP, SIGINT })
    {
        SCOPED_TRACE (signal);
        int requests = 0;
        bool onMessageThread = false;

        QuitSignals signals ([&]
        {
            ++requests;
            onMessageThread = juce::MessageManager::getInstance()->isThisTheMessageThread();
        });

        std::raise (signal);
        EXPECT_EQ (requests, 0) << "the request must wait for the message loop, not run in the handler";

        ASSERT_TRUE (runMessageLoopUntil ([&] { return requests > 0; }, 5000));
        runMessageLoopFor (20);
        EXPECT_EQ (requests, 1);
        EXPECT_TRUE (onMessageThread);
    }
}

TEST (QuitSignals, GivesTheSignalsBackWhenItGoes)
{
    struct sigaction action {};
    action.sa_handler = previousHandler;
    sigemptyset (&action.sa_mask);
    struct sigaction saved {};
    sigaction (SIGHUP, &action, &saved);

    int requests = 0;
    {
        QuitSignals signals ([&] { ++requests; });
    }

    std::raise (SIGHUP);
    runMessageLoopFor (50);
    sigaction (SIGHUP, &saved, nullptr);

    EXPECT_EQ (signalsSeenByThePreviousHandler.load(), 1);
    EXPECT_EQ (requests, 0);
}

TEST (QuitSignals, SigtermDuringAnUnattendedTransferStopsItAsTheCloseButtonDoes)
{
    FakeMidiPortProvider ports { { "A" } };
    RecordingAlertPresenter alerts;
    std::atomic<bool> sendHeld { false };

    // The send in flight returns once the thread is asked to stop, as a port's does.
    ports.duringSend = [&] (const juce::String&)
    {
        sendHeld = true;
        while (! juce::Thread::currentThreadShouldExit())
            juce::Thread::sleep (1);
    };

    Application application ("--autoupdate --outputid 1");
    application.initialise ({});
    auto* protocol = application.getMainWindow()->getContentComp()->getProtocol();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return sendHeld.load(); }));

    std::raise (SIGTERM);

    ASSERT_TRUE (runMessageLoopUntil ([] { return juce::MessageManager::getInstance()->hasStopMessageBeenSent(); }, 10000));
    EXPECT_FALSE (protocol->isThreadRunning()) << "the quit came before the transfer's thread had ended";
    EXPECT_NE (protocol->getOutcome(), ProtocolBaseClass::Outcome::completed);

    application.shutdown();
    autoUpdate = false;

    EXPECT_EQ (application.getApplicationReturnValue(), Application::endedBeforeCompletion);
    EXPECT_TRUE (alerts.alerts.empty());
}
