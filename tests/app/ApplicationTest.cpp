#include <gtest/gtest.h>

#include "app/Application.h"
#include "common/AutoUpdate.h"
#include "support/FakeMidiPortProvider.h"
#include "support/MessageLoop.h"
#include "support/RecordingAlertPresenter.h"

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
        { "UnattendedRunLogsEveryAlert", "--autoupdate --outputid 9 --file /no/such/pedal.syx", 2,
          "File /no/such/pedal.syx not found: A firmware file was specified, but it could not be found."
          " The application will use the build-in firmware version.\n"
          "Please select an output device:\n" },
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

TEST_P (ApplicationAlertEcho, AlertsAreShownAndUnattendedAlsoWrittenToStandardError)
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

TEST (EchoingAlertPresenter, WritesOneLinePerBoxAndStillShowsIt)
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
    ASSERT_EQ (shown.alerts.size(), 3u);
    EXPECT_EQ (shown.alerts[0].message, "The firmware file holds no bytes.\n The application will use the build-in firmware version.");
    EXPECT_EQ (shown.alerts[1].icon, juce::MessageBoxIconType::WarningIcon);
    EXPECT_EQ (shown.alerts[2].title, "Update failed");
}

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
