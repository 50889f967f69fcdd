#include <gtest/gtest.h>

#include "app/Application.h"
#include "support/FakeMidiPortProvider.h"
#include "support/RecordingAlertPresenter.h"

//==============================================================================
TEST (Application, NameVersionAndSingleInstance)
{
    Application application;

    EXPECT_EQ (application.getApplicationName(), "Firmhold by Quillon");
    EXPECT_EQ (application.getApplicationVersion(), "1.0");
    EXPECT_FALSE (application.moreThanOneInstanceAllowed());
}

TEST (Application, InitialiseShowsTheWindowCentredAndHeldAt650By400)
{
    FakeMidiPortProvider ports;
    RecordingAlertPresenter alerts;
    Application application;

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
