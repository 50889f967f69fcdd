#include <gtest/gtest.h>

#include "common/AutoUpdate.h"
#include "app/MainWindow.h"
#include "lookandfeel/WindowColourIds.h"
#include "panel/ContentComp.h"
#include "support/FakeMidiPortProvider.h"
#include "support/MessageLoop.h"
#include "support/PedalImage.h"
#include "support/QuitRecordingApplication.h"
#include "support/RecordingAlertPresenter.h"

namespace
{
    class MainWindowTest : public ::testing::Test
    {
    protected:
        ~MainWindowTest() override { autoUpdate = false; }

        FakeMidiPortProvider ports { { "A", "B" } };
        RecordingAlertPresenter alerts;
        QuitRecordingApplication application;
    };
} // namespace

TEST_F (MainWindowTest, TitleNamesTheImageInUse)
{
    const auto dir = juce::File::createTempFile ("window");
    dir.createDirectory();
    const auto image = PedalImage::make (2, 4);
    dir.getChildFile ("pedal_v2.syx").replaceWithData (image.data(), image.size());

    const std::pair<juce::String, juce::String> cases[] = {
        { "", "Corvane Chorus version 1.1.01 - R272" },
        { "--file " + dir.getChildFile ("pedal_v2.syx").getFullPathName(), "pedal_v2 version " },
        { "--file " + dir.getChildFile ("missing.syx").getFullPathName(), "Corvane Chorus version 1.1.01 - R272" },
    };

    for (auto& [commandLine, title] : cases)
    {
        MainWindow window (commandLine);
        EXPECT_EQ (window.getName(), title) << commandLine;
    }

    dir.deleteRecursively();
}

TEST_F (MainWindowTest, CarriesTheProgramsColoursAndAllTitleBarButtons)
{
    MainWindow window ({});

    EXPECT_EQ (window.getBackgroundColour().getARGB(), 0xffeff2f3u);
    EXPECT_EQ (window.findColour (WindowColourIds::titleBarColourId).getARGB(), 0xff3273a1u);
    EXPECT_NE (window.getCloseButton(), nullptr);
    EXPECT_NE (window.getMinimiseButton(), nullptr);
    EXPECT_NE (window.getMaximiseButton(), nullptr);
    EXPECT_TRUE (window.isResizable());
    EXPECT_NE (dynamic_cast<ContentComp*> (window.getContentComponent()), nullptr);
}

TEST_F (MainWindowTest, CloseButtonStopsARunningTransferAndQuits)
{
    ports.duringSend = [] (const juce::String&) { juce::Thread::sleep (1); };
    MainWindow window ({});
    auto& panel = *window.getContentComp();
    panel.getMidiInterface().selectOutputDevice (1);
    panel.buttonClicked (&panel.getUpdateButton());
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ports.getSentMessages().size() > 20; }));

    window.closeButtonPressed();

    EXPECT_FALSE (panel.getProtocol()->isThreadRunning());
    EXPECT_EQ (application.quitRequests, 1);
    EXPECT_LT (ports.getSentMessages().size(), 408u);
    EXPECT_EQ (panel.getProtocol()->getStatusText(), "Uploading firmware");
}

TEST_F (MainWindowTest, CloseButtonWithoutATransferQuitsAtOnce)
{
    MainWindow window ({});
    window.closeButtonPressed();
    EXPECT_EQ (application.quitRequests, 1);
}

//==============================================================================
namespace
{
    void collectVisibleTooltipWindows (juce::Component& component, std::vector<juce::TooltipWindow*>& found)
    {
        if (! component.isVisible())
            return;

        if (auto* tooltipWindow = dynamic_cast<juce::TooltipWindow*> (&component))
            found.push_back (tooltipWindow);

        for (auto* child : component.getChildren())
            collectVisibleTooltipWindows (*child, found);
    }

    /** Every tip on the screen, whether in a window of its own or inside another window. */
    std::vector<juce::TooltipWindow*> visibleTooltipWindows()
    {
        std::vector<juce::TooltipWindow*> found;
        auto& desktop = juce::Desktop::getInstance();

        for (int i = 0; i < desktop.getNumComponents(); ++i)
            collectVisibleTooltipWindows (*desktop.getComponent (i), found);

        return found;
    }
} // namespace

TEST_F (MainWindowTest, ATipIsShownOnceWithTheHelpWindowOpen)
{
    MainWindow window ({});
    window.centreWithSize (650, 400);
    window.setVisible (true);
    auto& panel = *window.getContentComp();
    panel.getHelpButton().triggerClick();   // the help window, with a tooltip window of its own, opens
    ASSERT_TRUE (runMessageLoopUntil ([&] { return panel.getHelpWindow().isShowing(); }));
    panel.getHelpWindow().setTopLeftPosition (0, 0);   // clear of the main window's buttons
    window.toFront (true);

    auto& button = panel.getUpdateButton();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return juce::Process::isForegroundProcess(); }, 5000));
    ASSERT_TRUE (runMessageLoopUntil ([&]
    {
        juce::Desktop::setMousePosition (button.getScreenBounds().getCentre());
        return juce::Desktop::getInstance().getMainMouseSource().getComponentUnderMouse() == &button;
    }, 5000)) << "the pointer did not get onto the update button";

    ASSERT_TRUE (runMessageLoopUntil ([&] { return ! visibleTooltipWindows().empty(); }, 5000))
        << "no tip appeared; foreground: " << juce::Process::isForegroundProcess();
    const auto tips = visibleTooltipWindows();
    ASSERT_EQ (tips.size(), 1u);

    // Long enough for a second window to show the same tip. Other tests' windows on the
    // same display may cover the button and hide the tip meanwhile: a second one must
    // never show, whatever else happens.
    size_t mostShownAtOnce = 0;
    runMessageLoopUntil ([&] { mostShownAtOnce = std::max (mostShownAtOnce, visibleTooltipWindows().size()); return false; }, 600);
    EXPECT_EQ (mostShownAtOnce, 1u);

    // Shown inside the window it belongs to, next to the pointer.
    EXPECT_EQ (tips[0]->getTopLevelComponent(), &window);
    EXPECT_TRUE (tips[0]->getScreenBounds().expanded (30).contains (button.getScreenBounds().getCentre()));
}
