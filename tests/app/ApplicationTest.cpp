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

    struct EchoCase
    {
        const char* name;
        const char* commandLine;
        size_t alertsShown;
        const char* log;
    };

    std::ostream& operator<< (std::ostream& out, const EchoCase& c) { return out << c.commandLine; }

    const EchoCase echoCases[] = {
        { "UnattendedRunLogsEveryAlertInsteadOfShowingIt", "--autoupdate --outputid 9 --file /no/such/pedal.syx", 0,
          "File /no/such/pedal.syx not found: A firmware file was specified, but it could not be found."
          " The application will use the build-in firmware version.\n"
          "Update failed: the firmware file /no/such/pedal.syx cannot be used\n" },
        { "InteractiveRunLogsNothing", "--outputid 9 --file /no/such/pedal.syx", 1, "" },
    };

    class ApplicationAlertEcho : public ::testing::TestWithParam<EchoCase>
    {
    protected:
        ~ApplicationAlertEcho() override { autoUpdate = false; }

        FakeMidiPortProvider ports { { "A" } };
        RecordingAlertPresenter alerts;
    };
} // namespace

TEST_P (ApplicationAlertEcho, AlertsAreShownOrUnattendedWrittenToStandardError)
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

INSTANTIATE_TEST_SUITE_P (Application, ApplicationAlertEcho, ::testing::ValuesIn (echoCases),
                          [] (const ::testing::TestParamInfo<EchoCase>& testInfo) { return std::string (testInfo.param.name); });

TEST (EchoingAlertPresenter, WritesOneLinePerBoxAndShowsNone)
{
    RecordingAlertPresenter shown;
    std::ostringstream log;
    EchoingAlertPresenter echo (shown, log);

    echo.showMessageBox (juce::MessageBoxIconType::WarningIcon, "File /a b/p.syx is empty",
                         "The firmware file holds no bytes.\n The application will use the build-in firmware version.");
    echo.showMessageBox (juce::MessageBoxIconType::WarningIcon, {}, "Please select an output device:");
    echo.showMessageBox (juce::MessageBoxIconType::NoIcon, "Update failed", "first\r\n\n  second  ");

    EXPECT_EQ (log.str(), "File /a b/p.syx is empty: The firmware file holds no bytes. The application will use the build-in firmware version.\n"
                          "Please select an output device:\n"
                          "Update failed: first second\n");
    EXPECT_TRUE (shown.alerts.empty()) << "an unattended run must never wait on a box";
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
                                                              "Please select an output device:\nUpdate failed: there is no MIDI output number 2\n" },
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
