#include <gtest/gtest.h>

#include "common/AutoUpdate.h"
#include "firmware/FirmwareImage.h"
#include "panel/ContentComp.h"
#include "support/FakeMidiPortProvider.h"
#include "support/MessageLoop.h"
#include "support/PedalImage.h"
#include "support/QuitRecordingApplication.h"
#include "support/RecordingAlertPresenter.h"

#include <condition_variable>

namespace
{
    const juce::uint32 green = 0xff7ebf7e, red = 0xffff7e7e;

    std::vector<juce::uint8> builtInBytes()
    {
        FirmwareImage image;
        return { image.getData(), image.getData() + image.getSize() };
    }

    std::vector<juce::uint8> concatenated (const std::vector<FakeMidiPortProvider::SentMessage>& sent,
                                           size_t first = 0, size_t count = SIZE_MAX)
    {
        std::vector<juce::uint8> all;
        for (size_t i = first; i < sent.size() && i - first < count; ++i)
            all.insert (all.end(), sent[i].bytes.begin(), sent[i].bytes.end());
        return all;
    }

    /** Holds the protocol thread inside the send of one chosen message until released. */
    struct SendGate
    {
        explicit SendGate (FakeMidiPortProvider& ports, int messageToHold)
        {
            ports.duringSend = [this, messageToHold] (const juce::String&)
            {
                std::unique_lock<std::mutex> lock (mutex);
                if (++sends == messageToHold)
                {
                    held = true;
                    changed.notify_all();
                    changed.wait (lock, [this] { return released; });
                }
            };
        }

        bool isHeld()
        {
            const std::lock_guard<std::mutex> lock (mutex);
            return held;
        }

        void release()
        {
            const std::lock_guard<std::mutex> lock (mutex);
            released = true;
            changed.notify_all();
        }

        std::mutex mutex;
        std::condition_variable changed;
        int sends = 0;
        bool held = false, released = false;
    };

    /** Stands in for a component's cached image to see which of its areas are marked
        for repainting: every repaint of the component or of one of its children. */
    struct RepaintRecorder final : public juce::CachedComponentImage
    {
        RepaintRecorder (juce::Component& c, juce::Rectangle<int> watched) : component (c), watchedArea (watched) {}

        void paint (juce::Graphics& g) override { component.paintEntireComponent (g, false); }
        bool invalidateAll() override { ++repaintsOfWatchedArea; return true; }
        void releaseResources() override {}

        bool invalidate (const juce::Rectangle<int>& area) override
        {
            if (area.intersects (watchedArea))
                ++repaintsOfWatchedArea;

            return true;
        }

        juce::Component& component;
        const juce::Rectangle<int> watchedArea;
        std::atomic<int> repaintsOfWatchedArea { 0 };
    };

    //==============================================================================
    class ContentCompTest : public ::testing::Test
    {
    protected:
        ~ContentCompTest() override { autoUpdate = false; }

        std::unique_ptr<ContentComp> makePanel (const juce::String& commandLine = {})
        {
            auto panel = std::make_unique<ContentComp> (commandLine);
            panel->setBounds (0, 0, 642, 366);
            return panel;
        }

        static juce::ComboBox& outputSelector (ContentComp& panel)
        {
            for (auto* child : panel.getMidiInterface().getChildren())
                if (child->getName() == "Output Selector")
                    return *dynamic_cast<juce::ComboBox*> (child);

            throw std::runtime_error ("no output selector");
        }

        /** Chooses an item as the user would and waits until the panel has heard of it. */
        static void choose (ContentComp& panel, int itemId, bool expectConnected)
        {
            outputSelector (panel).setSelectedId (itemId);
            ASSERT_TRUE (runMessageLoopUntil ([&] { return panel.getUpdateButton().isEnabled() == expectConnected; }));
            runMessageLoopFor (20);
        }

        static void expectButton (ContentComp& panel, bool enabled, juce::uint32 colour)
        {
            auto& button = panel.getUpdateButton();
            EXPECT_EQ (button.isEnabled(), enabled);
            EXPECT_EQ (button.findColour (juce::TextButton::buttonColourId).getARGB(), colour);
            EXPECT_EQ (button.findColour (juce::TextButton::buttonOnColourId).getARGB(), colour);
        }

        static bool completed (ContentComp& panel)
        {
            return panel.getProgressLabel().getText() == "Update progress: Update completed";
        }

        FakeMidiPortProvider ports { { "A", "B" } };
        RecordingAlertPresenter alerts;
    };
} // namespace

//==============================================================================
TEST_F (ContentCompTest, WalksTheStateTableFromNoPortToCompletedAndAgain)
{
    auto panel = makePanel();

    // NoPort
    expectButton (*panel, false, red);
    EXPECT_EQ (panel->getProgressLabel().getText(), "Update progress:");
    EXPECT_EQ (panel->getDisplayedProgress(), 0.0);
    EXPECT_TRUE (panel->getMidiInterface().isEnabled());

    choose (*panel, 1, true);       // "A": Ready
    expectButton (*panel, true, green);
    choose (*panel, 3, false);      // "(Disconnected)": NoPort
    expectButton (*panel, false, red);
    choose (*panel, 2, true);       // "B": Ready
    expectButton (*panel, true, green);

    // Ready -> Transferring, held in the middle of the image
    SendGate gate (ports, 200);
    panel->getUpdateButton().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return gate.isHeld(); }));
    runMessageLoopFor (50);

    EXPECT_FALSE (panel->getUpdateButton().isEnabled());
    EXPECT_FALSE (panel->getMidiInterface().isEnabled());
    EXPECT_EQ (panel->getProgressLabel().getText(), "Update progress: Uploading firmware");
    EXPECT_GT (panel->getDisplayedProgress(), 0.4);
    EXPECT_LT (panel->getDisplayedProgress(), 0.6);

    // -> Completed
    gate.release();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return completed (*panel); }));
    EXPECT_EQ (panel->getDisplayedProgress(), 1.0);
    EXPECT_TRUE (panel->getUpdateButton().isEnabled());
    EXPECT_TRUE (panel->getMidiInterface().isEnabled());

    auto sent = ports.getSentMessages();
    ASSERT_EQ (sent.size(), 408u);
    EXPECT_EQ (concatenated (sent), builtInBytes());
    for (auto& message : sent)
        EXPECT_EQ (message.port, "B");

    // Completed -> Transferring -> Completed: the whole image again
    panel->getUpdateButton().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ports.getSentMessages().size() == 816 && completed (*panel)
                                                     && panel->getUpdateButton().isEnabled(); }));
    sent = ports.getSentMessages();
    EXPECT_EQ (concatenated (sent, 408), builtInBytes());
    EXPECT_EQ (panel->getDisplayedProgress(), 1.0);
    EXPECT_TRUE (alerts.alerts.empty());
}

TEST_F (ContentCompTest, ButtonAndSelectorComeBackOnlyOnceTheTransferHasEnded)
{
    // At full progress the last message may still be on its way to the device: a port
    // change or a new start then would cut the end of the image off.
    auto panel = makePanel();
    choose (*panel, 1, true);
    SendGate lastMessage (ports, 408);
    panel->getUpdateButton().triggerClick();

    ASSERT_TRUE (runMessageLoopUntil ([&] { return lastMessage.isHeld() && panel->getDisplayedProgress() == 1.0; }));
    runMessageLoopFor (50);
    EXPECT_FALSE (panel->getUpdateButton().isEnabled());
    EXPECT_FALSE (panel->getMidiInterface().isEnabled());

    lastMessage.release();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ! panel->getProtocol()->isThreadRunning()
                                                     && panel->getProtocol()->getOutcome() != ProtocolBaseClass::Outcome::none; }));
    runMessageLoopFor (50);
    EXPECT_TRUE (panel->getUpdateButton().isEnabled());
    EXPECT_TRUE (panel->getMidiInterface().isEnabled());
    EXPECT_TRUE (completed (*panel));
    EXPECT_EQ (ports.getSentMessages().size(), 408u);
    EXPECT_TRUE (alerts.alerts.empty());
}

TEST_F (ContentCompTest, AFailedTransferSaysWhyKeepsTheBarAndLetsTheUserTryAgain)
{
    auto panel = makePanel();
    choose (*panel, 1, true);
    ports.failSend (200, "the MIDI output refused the data");

    panel->getUpdateButton().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return panel->getProgressLabel().getText().contains ("failed"); }));
    runMessageLoopFor (50);

    EXPECT_EQ (panel->getProgressLabel().getText(), "Update progress: Update failed: the MIDI output refused the data");
    EXPECT_GT (panel->getDisplayedProgress(), 0.4);
    EXPECT_LT (panel->getDisplayedProgress(), 0.6);
    EXPECT_TRUE (panel->getUpdateButton().isEnabled());
    EXPECT_TRUE (panel->getMidiInterface().isEnabled());

    // Another port chosen after the failure: the selector stays usable.
    choose (*panel, 2, true);
    EXPECT_TRUE (panel->getMidiInterface().isEnabled());

    panel->getUpdateButton().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return completed (*panel); }));
    const auto sent = ports.getSentMessages();
    ASSERT_EQ (sent.size(), 199u + 408u);
    EXPECT_EQ (concatenated (sent, 199), builtInBytes());
    EXPECT_EQ (panel->getDisplayedProgress(), 1.0);
}

TEST_F (ContentCompTest, APortFailureIsNoLongerShownOnceThePortOpens)
{
    ports.portsThatFailToOpen.add ("B");     // held by another program
    auto panel = makePanel();
    choose (*panel, 2, false);
    const auto heldLabel = juce::String ("Update progress: Update failed: the MIDI output is in use by another program");
    ASSERT_TRUE (runMessageLoopUntil ([&] { return panel->getProgressLabel().getText() == heldLabel; }));

    ports.portsThatFailToOpen.clear();       // the other program let go
    ASSERT_TRUE (runMessageLoopUntil ([&] { return panel->getProgressLabel().getText() == "Update progress:"; }));
    expectButton (*panel, true, green);

    // A transfer that failed keeps saying why, whatever the port does afterwards.
    ports.failSend (5, "the MIDI output refused the data");
    panel->getUpdateButton().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return panel->getProgressLabel().getText().contains ("refused"); }));
    runMessageLoopFor (1200);                // past the next refresh, which reopens nothing new
    EXPECT_EQ (panel->getProgressLabel().getText(), "Update progress: Update failed: the MIDI output refused the data");
}

TEST_F (ContentCompTest, UpdateWithoutAnOpenPortWarnsAndChangesNothing)
{
    auto panel = makePanel();
    panel->buttonClicked (&panel->getUpdateButton());

    ASSERT_EQ (alerts.alerts.size(), 1u);
    EXPECT_EQ (alerts.alerts[0].icon, juce::MessageBoxIconType::WarningIcon);
    EXPECT_EQ (alerts.alerts[0].title, "");
    EXPECT_EQ (alerts.alerts[0].message, "Please select an output device:");
    runMessageLoopFor (50);
    EXPECT_TRUE (ports.getSentMessages().empty());
    EXPECT_FALSE (panel->getProtocol()->isThreadRunning());
    expectButton (*panel, false, red);
}

TEST_F (ContentCompTest, HelpButtonShowsThenHidesTheCentredHelpWindow)
{
    auto panel = makePanel();
    auto& help = panel->getHelpWindow();
    ASSERT_FALSE (help.isVisible());

    panel->getHelpButton().triggerClick();
    runMessageLoopUntil ([&] { return help.isVisible(); });
    const auto screen = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
    EXPECT_TRUE (help.isVisible());
    EXPECT_EQ (help.getBounds(), screen.withSizeKeepingCentre (550, 400));
    EXPECT_EQ (help.getName(), "Firmware Update Help");

    help.setBounds (10, 10, 300, 200);   // moved and resized by the user
    panel->getHelpButton().triggerClick();
    runMessageLoopUntil ([&] { return ! help.isVisible(); });
    EXPECT_FALSE (help.isVisible());
    EXPECT_EQ (help.getBounds(), screen.withSizeKeepingCentre (550, 400));
}

TEST_F (ContentCompTest, LaysOutTheChildrenAt642Wide)
{
    auto panel = makePanel();

    const std::pair<juce::Component*, juce::Rectangle<int>> expected[] = {
        { &panel->getInfoLabel(), { 10, 15, 622, 50 } },
        { &panel->getHelpButton(), { 538, 2, 94, 30 } },
        { &panel->getStep1Label(), { 10, 70, 622, 30 } },
        { &panel->getMidiInterface(), { 10, 105, 622, 50 } },
        { &panel->getStep2Label(), { 10, 165, 622, 30 } },
        { &panel->getUpdateButton(), { 538, 215, 94, 30 } },
        { &panel->getProgressBar(), { 10, 215, 528, 30 } },
        { &panel->getProgressLabel(), { 10, 192, 528, 23 } },
        { &panel->getStep1InfoLabel(), { 0, 0, 0, 0 } },
    };

    for (auto& [component, bounds] : expected)
        EXPECT_EQ (component->getBounds(), bounds) << component->getName() << " / " << dynamic_cast<juce::Label*> (component);

    // The help button lies above the information label; the attached label follows the bar.
    EXPECT_GT (panel->getIndexOfChildComponent (&panel->getHelpButton()),
               panel->getIndexOfChildComponent (&panel->getInfoLabel()));
    panel->setBounds (0, 0, 800, 366);
    EXPECT_EQ (panel->getProgressLabel().getBounds(), juce::Rectangle<int> (10, 192, 686, 23));
}

TEST_F (ContentCompTest, TextsAndTooltips)
{
    auto panel = makePanel();

    EXPECT_EQ (panel->getInfoLabel().getText(), "This software updater will update your Corvane Chorus firmware to version 1.1.01 - R272");
    EXPECT_EQ (panel->getStep1Label().getText(), "STEP1");
    EXPECT_EQ (panel->getStep2Label().getText(), "STEP2");
    EXPECT_EQ (panel->getStep1InfoLabel().getText(), "In Windows XP, the Kestrix input/output-device is called \"USB Audio Device\"");
    EXPECT_EQ (panel->getUpdateButton().getButtonText(), "update");
    EXPECT_EQ (panel->getUpdateButton().getTooltip(), "click here to update the product");
    EXPECT_EQ (panel->getHelpButton().getButtonText(), "Help");
    EXPECT_EQ (panel->getHelpButton().getTooltip(), "click here to get help");
    EXPECT_TRUE (panel->getUpdateButton().isConnectedOnLeft());
    EXPECT_EQ (panel->getFirmwareImage()->getName(), "Corvane Chorus");
}

TEST_F (ContentCompTest, LoadedFileReplacesImageAndProtocolTogether)
{
    const auto dir = juce::File::createTempFile ("panel");
    dir.createDirectory();
    const auto image = PedalImage::make ({ { 0x05 }, { 0x7f, 0x00 } });
    dir.getChildFile ("pedal_v2.syx").replaceWithData (image.data(), image.size());

    auto panel = makePanel ("--file " + dir.getChildFile ("pedal_v2.syx").getFullPathName());

    EXPECT_EQ (panel->getInfoLabel().getText(), "This software updater will update your pedal_v2 firmware from the loaded sysex file");
    EXPECT_EQ (panel->getFirmwareImage()->getName(), "pedal_v2");
    EXPECT_TRUE (alerts.alerts.empty());

    choose (*panel, 1, true);
    panel->getUpdateButton().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return completed (*panel); }));
    EXPECT_EQ (concatenated (ports.getSentMessages()), image);

    dir.deleteRecursively();
}

TEST_F (ContentCompTest, MissingFileKeepsTheBuiltInImage)
{
    auto panel = makePanel ("--file /no/such/pedal_v2.syx");

    ASSERT_EQ (alerts.alerts.size(), 1u);
    EXPECT_EQ (alerts.alerts[0].title, "File /no/such/pedal_v2.syx not found");
    EXPECT_EQ (panel->getFirmwareImage()->getName(), "Corvane Chorus");
    EXPECT_EQ (panel->getInfoLabel().getText(), "This software updater will update your Corvane Chorus firmware to version 1.1.01 - R272");
    EXPECT_EQ (panel->getFirmwareImage()->getSize(), 243212);
}

TEST_F (ContentCompTest, AutoUpdateSendsTheWholeImageThroughTheReopenedPortAndQuits)
{
    QuitRecordingApplication application;
    auto panel = makePanel ("--autoupdate --outputid 2");

    // The transfer was started during construction, before anything was delivered.
    EXPECT_TRUE (autoUpdate);
    EXPECT_TRUE (alerts.alerts.empty());
    EXPECT_TRUE (panel->getProtocol()->isThreadRunning());
    EXPECT_FALSE (panel->getUpdateButton().isEnabled());

    ASSERT_TRUE (runMessageLoopUntil ([&] { return completed (*panel) && application.quitRequests > 0; }));
    runMessageLoopFor (50);

    const auto sent = ports.getSentMessages();
    ASSERT_EQ (sent.size(), 408u);
    EXPECT_EQ (concatenated (sent), builtInBytes());
    EXPECT_EQ (application.quitRequests, 1);

    // The selector's own later notification chose the port already open: it stayed open.
    const auto events = ports.getEvents();
    EXPECT_EQ (events[0], "open B");
    EXPECT_EQ (events.indexOf ("close B"), -1);
    EXPECT_EQ (ports.getOpenOutputs(), juce::StringArray ("B"));
}

TEST_F (ContentCompTest, AutoUpdateWithoutThatPortWarnsFailsAndLetsTheUserStartByHand)
{
    QuitRecordingApplication application;
    auto panel = makePanel ("--AutoUpdate --outputid 7");
    runMessageLoopFor (100);

    ASSERT_EQ (alerts.alerts.size(), 1u);
    EXPECT_EQ (alerts.alerts[0].message, "Please select an output device:");
    EXPECT_EQ (panel->getProtocol()->getOutcome(), ProtocolBaseClass::Outcome::failed);
    EXPECT_EQ (panel->getProgressLabel().getText(), "Update progress: Update failed: there is no MIDI output number 7");
    expectButton (*panel, false, red);
    EXPECT_TRUE (ports.getSentMessages().empty());
    EXPECT_EQ (application.quitRequests, 0);

    // Started by hand later, the transfer still ends the program (the flag stays set).
    choose (*panel, 1, true);
    panel->getUpdateButton().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return application.quitRequests > 0; }));
}

struct UnattendedFailureCase
{
    const char* what;
    const char* commandLine;
    const char* status;
};

class UnattendedFailure : public ContentCompTest,
                          public ::testing::WithParamInterface<UnattendedFailureCase>
{
};

TEST_P (UnattendedFailure, EndsAsAFailedUpdateWithItsReasonAndSendsNothing)
{
    // Port B is held by another program.
    ports.portsThatFailToOpen.add ("B");
    auto panel = makePanel (GetParam().commandLine);
    runMessageLoopFor (100);

    EXPECT_EQ (panel->getProtocol()->getOutcome(), ProtocolBaseClass::Outcome::failed);
    EXPECT_EQ (panel->getProgressLabel().getText(), "Update progress: " + juce::String (GetParam().status));
    EXPECT_TRUE (ports.getSentMessages().empty());
    EXPECT_FALSE (ports.getEvents().contains ("open A")) << "nothing goes to a port that was not asked for";
}

INSTANTIATE_TEST_SUITE_P (ContentCompTest, UnattendedFailure,
                          ::testing::Values (UnattendedFailureCase { "outputid with an equals sign", "--autoupdate --outputid=1",
                                                                     "Update failed: --outputid needs the number of a MIDI output, from 1 up" },
                                             UnattendedFailureCase { "outputid zero", "--autoupdate --outputid 0",
                                                                     "Update failed: --outputid needs the number of a MIDI output, from 1 up" },
                                             UnattendedFailureCase { "outputid without its number", "--autoupdate --outputid",
                                                                     "Update failed: --outputid needs the number of a MIDI output, from 1 up" },
                                             UnattendedFailureCase { "missing file", "--autoupdate --outputid 1 --file /nonexistent/p.syx",
                                                                     "Update failed: the firmware file /nonexistent/p.syx was not found" },
                                             UnattendedFailureCase { "port held by another program", "--autoupdate --outputid 2",
                                                                     "Update failed: the MIDI output is in use by another program" }),
                          [] (const auto& testInfo)
                          {
                              return juce::String (testInfo.param.what).replaceCharacter (' ', '_').toStdString();
                          });

TEST_F (ContentCompTest, ProgressRepaintsOnlyWhatChangedNotTheWholePanel)
{
    // The protocol thread waits for the message thread at every progress change; a
    // whole-panel repaint each time held the transfer up. A control away from the bar
    // must not be marked for repainting while the bar fills.
    ports.duringSend = [] (const juce::String&) { juce::Thread::sleep (1); };
    auto panel = makePanel();
    panel->setVisible (true);
    choose (*panel, 1, true);

    auto* recorder = new RepaintRecorder (*panel, panel->getHelpButton().getBoundsInParent());
    panel->setCachedComponentImage (recorder); // the panel owns it
    recorder->repaintsOfWatchedArea = 0;
    panel->repaint();
    ASSERT_EQ (recorder->repaintsOfWatchedArea, 1) << "repaints are not being seen";

    panel->getUpdateButton().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return panel->getDisplayedProgress() >= 0.1; }));
    recorder->repaintsOfWatchedArea = 0;
    ASSERT_TRUE (runMessageLoopUntil ([&] { return panel->getDisplayedProgress() >= 0.9; }));
    EXPECT_EQ (recorder->repaintsOfWatchedArea, 0);

    ASSERT_TRUE (runMessageLoopUntil ([&] { return completed (*panel); }));
}

TEST_F (ContentCompTest, DestroyedMidTransferStopsTheThreadBeforeThePortCloses)
{
    ports.duringSend = [] (const juce::String&) { juce::Thread::sleep (1); };
    auto panel = makePanel();
    EXPECT_NE (dynamic_cast<TemplateLookAndFeel*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);
    choose (*panel, 1, true);
    panel->getUpdateButton().triggerClick();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ports.getSentMessages().size() > 50; }));

    panel = nullptr;

    // Nothing was sent after the port closed: the thread had ended first.
    const auto events = ports.getEvents();
    EXPECT_EQ (events[events.size() - 1], "close A");
    EXPECT_LT (ports.getSentMessages().size(), 408u);
    EXPECT_EQ (dynamic_cast<TemplateLookAndFeel*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);
}
