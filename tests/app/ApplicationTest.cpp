#include <gtest/gtest.h>

#include "app/Application.h"
#include "panel/ContentComp.h"
#include "common/AutoUpdate.h"
#include "support/FakeMidiPortProvider.h"
#include "support/MessageLoop.h"
#include "support/RecordingAlertPresenter.h"

#include <atomic>
#include <iostream>
#include <sstream>

namespace
{
    /** Takes what is written to std::cerr for as long as it lives. */
    struct StandardErrorCapture
    {
        StandardErrorCapture() : previous (std::cerr.rdbuf (captured.rdbuf())) {}
        ~StandardErrorCapture() { std::cerr.rdbuf (previous); }

        std::ostringstream captured;
        std::streambuf* previous;
    };

    struct AlertCase
    {
        const char* name;
        const char* commandLine;
        size_t alertsShown;
        const char* log;
    };

    std::ostream& operator<< (std::ostream& out, const AlertCase& c) { return out << c.commandLine; }

    const AlertCase alertCases[] = {
        // One line, the reason: no box text, and nothing about the built-in image, which an
        // unattended run never sends in place of the file it was given.
        { "UnattendedRunWritesOnlyTheFailure", "--autoupdate --outputid 9 --file /no/such/pedal.syx", 0,
          "Update failed: the firmware file /no/such/pedal.syx was not found\n" },
        { "InteractiveRunLogsNothing", "--outputid 9 --file /no/such/pedal.syx", 1, "" },
    };

    class ApplicationAlerts : public ::testing::TestWithParam<AlertCase>
    {
    protected:
        ~ApplicationAlerts() override { autoUpdate = false; }

        FakeMidiPortProvider ports { { "A" } };
        RecordingAlertPresenter alerts;
    };
} // namespace

TEST_P (ApplicationAlerts, InteractiveRunsShowTheBoxUnattendedOnesWriteOnlyTheFailure)
{
    const auto& c = GetParam();
    StandardErrorCapture standardError;

    {
        Application application (c.commandLine);
        application.initialise ("text the framework made up, which is not used");
        ASSERT_NE (application.getMainWindow(), nullptr);
        EXPECT_EQ (application.getMainWindow()->getName(), "Corvane Chorus version 1.1.01 - R272");
        runMessageLoopFor (20);
        application.shutdown();
    }

    EXPECT_EQ (alerts.alerts.size(), c.alertsShown);
    EXPECT_EQ (standardError.captured.str(), c.log);
    EXPECT_EQ (&AlertPresenter::getCurrent(), &alerts);
}

INSTANTIATE_TEST_SUITE_P (Application, ApplicationAlerts, ::testing::ValuesIn (alertCases),
                          [] (const ::testing::TestParamInfo<AlertCase>& testInfo) { return std::string (testInfo.param.name); });

TEST (Application, UnattendedRunRefusesAnotherDevicesFileWithOneLineAndSendsNothing)
{
    FakeMidiPortProvider ports { { "A" } };
    RecordingAlertPresenter alerts;
    StandardErrorCapture standardError;

    const auto dir = juce::File::createTempFile ("firmhold-app");
    dir.createDirectory();
    const auto file = dir.getChildFile ("synth-dump.syx");
    const juce::uint8 synthDump[] = { 0xf0, 0x43, 0x10, 0x4c, 0x00, 0x00, 0x7e, 0x00, 0xf7 };
    file.replaceWithData (synthDump, sizeof (synthDump));

    {
        Application application ("--autoupdate --outputid 1 --file " + file.getFullPathName());
        application.initialise ({});
        runMessageLoopFor (50);
        application.shutdown();
        EXPECT_EQ (application.getApplicationReturnValue(), Application::updateFailed);
    }

    autoUpdate = false;
    dir.deleteRecursively();

    EXPECT_EQ (standardError.captured.str(), "Update failed: the firmware file " + file.getFullPathName()
                                                 + " is not firmware for the Corvane Chorus: the message at byte 0"
                                                   " is for another device (F0 43 10 4C 00 00 7E 00 F7)\n");
    EXPECT_TRUE (alerts.alerts.empty());
    EXPECT_TRUE (ports.getSentMessages().empty());
}

//==============================================================================
struct ExitStatusCase
{
    const char* name;
    const char* commandLine;
    bool holdTheTransfer;  // the window is closed while a message is still being sent
    int exitStatus;
    const char* standardError;
};

std::ostream& operator<< (std::ostream& out, const ExitStatusCase& c) { return out << c.name; }

class ApplicationExitStatus : public ::testing::TestWithParam<ExitStatusCase>
{
protected:
    ~ApplicationExitStatus() override { autoUpdate = false; }

    FakeMidiPortProvider ports { { "A" } };
    RecordingAlertPresenter alerts;
};

TEST_P (ApplicationExitStatus, TellsHowAnUnattendedUpdateEnded)
{
    const auto& c = GetParam();
    StandardErrorCapture standardError;
    std::atomic<bool> released { false };

    if (c.holdTheTransfer)
        ports.duringSend = [&] (const juce::String&)
        {
            while (! released && ! juce::Thread::currentThreadShouldExit())
                juce::Thread::sleep (1);
        };

    Application application (c.commandLine);
    application.initialise ({});
    auto* protocol = application.getMainWindow()->getContentComp()->getProtocol();

    if (c.holdTheTransfer)
        ASSERT_TRUE (runMessageLoopUntil ([&] { return protocol->isThreadRunning(); }));
    else if (autoUpdate)
        ASSERT_TRUE (runMessageLoopUntil ([&] { return protocol->getOutcome() == ProtocolBaseClass::Outcome::completed
                                                        || standardError.captured.str().find ("Update failed") != std::string::npos; }));

    runMessageLoopFor (20);
    application.shutdown();   // what closing the window comes to
    released = true;

    EXPECT_EQ (application.getApplicationReturnValue(), c.exitStatus);
    EXPECT_EQ (standardError.captured.str(), c.standardError);
    EXPECT_TRUE (alerts.alerts.empty());
}

INSTANTIATE_TEST_SUITE_P (Application, ApplicationExitStatus,
                          ::testing::Values (ExitStatusCase { "Completed", "--autoupdate --outputid 1", false, 0, "" },
                                             ExitStatusCase { "Failed", "--autoupdate --outputid 2", false, 1,
                                                              "Update failed: there is no MIDI output number 2\n" },
                                             ExitStatusCase { "ClosedBeforeCompletion", "--autoupdate --outputid 1", true, 2, "" },
                                             ExitStatusCase { "ClosedByHandWithoutAutoUpdate", "", false, 0, "" }),
                          [] (const ::testing::TestParamInfo<ExitStatusCase>& testInfo) { return std::string (testInfo.param.name); });

//==============================================================================
TEST (Application, NameVersionAndSingleInstance)
{
    Application application ({});

    EXPECT_EQ (application.getApplicationName(), "Firmhold by Quillon");
    EXPECT_EQ (application.getApplicationVersion(), "1.0");
    EXPECT_FALSE (application.moreThanOneInstanceAllowed());
}

TEST (Application, InitialiseShowsTheWindowCentredAndHeldAt650By400)
{
    FakeMidiPortProvider ports;
    RecordingAlertPresenter alerts;
    Application application ({});

    application.initialise ({});
    auto* window = application.getMainWindow();
    ASSERT_NE (window, nullptr);

    const auto screen = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
    EXPECT_TRUE (window->isVisible());
    EXPECT_EQ (window->getBounds(), screen.withSizeKeepingCentre (650, 400));
    EXPECT_EQ (window->getContentComponent()->getBounds(), juce::Rectangle<int> (4, 30, 642, 366));

    window->setBoundsConstrained ({ 0, 0, 900, 700 });   // what a drag of the frame asks for
    EXPECT_EQ (window->getWidth(), 650);
    EXPECT_EQ (window->getHeight(), 400);

    application.shutdown();
    EXPECT_EQ (application.getMainWindow(), nullptr);
}
