#include <gtest/gtest.h>

#include "protocol/ExitAwareMessageLock.h"

#include "common/AutoUpdate.h"
#include "firmware/BuiltInFirmware.h"
#include "firmware/FirmwareImage.h"
#include "midi/MidiInterfaceClass.h"
#include "protocol/BasicSysexProtocolClass.h"
#include "support/FakeMidiPortProvider.h"
#include "support/MessageLoop.h"
#include "support/QuitRecordingApplication.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

namespace
{
    struct ScopedAutoUpdate
    {
        ScopedAutoUpdate() { autoUpdate = true; }
        ~ScopedAutoUpdate() { autoUpdate = false; }
    };

    /** What the listener saw on each progress notification (on the protocol thread). */
    struct ProgressNotification
    {
        double progress;
        juce::String statusText;
    };

    FirmwareImage imageOf (const std::vector<int>& values)
    {
        juce::MemoryBlock block;
        for (auto v : values)
        {
            const auto byte = (juce::uint8) v;
            block.append (&byte, 1);
        }
        return FirmwareImage (std::move (block), "test");
    }
} // namespace

//==============================================================================
class SysexTransfer : public ::testing::Test
{
protected:
    SysexTransfer()
    {
        interface.selectOutputDevice (1);
        runPendingMessages(); // the selector's own reopening, before anything is sent
    }

    ~SysexTransfer() override
    {
        if (protocol != nullptr)
            protocol->removeChangeListener (&listener);
    }

    void makeProtocol (FirmwareImage& imageToSend)
    {
        protocol = std::make_unique<BasicSysexProtocolClass> (&interface, &imageToSend);
        listener.onChange = [this] (juce::ChangeBroadcaster* source)
        {
            EXPECT_EQ (source, static_cast<juce::ChangeBroadcaster*> (protocol.get()));

            // Progress is told synchronously on the protocol thread, status text on ours.
            if (juce::Thread::getCurrentThread() == protocol.get())
            {
                EXPECT_TRUE (juce::MessageManager::getInstance()->currentThreadHasLockedMessageManager());
                progressSeen.push_back ({ protocol->getProgress(), protocol->getStatusText() });
            }
            else
            {
                statusSeen.add (protocol->getStatusText());
            }
        };
        protocol->addChangeListener (&listener);
    }

    /** Starts again, and reads the progress before the new run's first send may change it. */
    void restartAndCheckTheProgressIsReset()
    {
        progressChecked.reset();
        ports.duringSend = [this] (const juce::String&) { progressChecked.wait (10000); };
        protocol->startProtocol();
        EXPECT_EQ (protocol->getProgress(), 0.0);
        progressChecked.signal();
    }

    bool runUntilThreadEnds()
    {
        const auto ended = runMessageLoopUntil ([this] { return ! protocol->isThreadRunning(); });
        runPendingMessages(); // the last status text
        return ended;
    }

    std::vector<juce::uint8> sentBytes() const
    {
        std::vector<juce::uint8> all;
        for (auto& message : ports.getSentMessages())
            all.insert (all.end(), message.bytes.begin(), message.bytes.end());
        return all;
    }

    juce::WaitableEvent progressChecked { true };
    FakeMidiPortProvider ports { { "A", "B" } };
    MidiInterfaceClass interface { true, false };
    FirmwareImage builtInImage;
    ChangeCounter listener;
    std::vector<ProgressNotification> progressSeen;
    juce::StringArray statusSeen;
    std::unique_ptr<BasicSysexProtocolClass> protocol;
};

TEST_F (SysexTransfer, SendsTheBuiltInImageWholeAndInOrderOneMessageAtATime)
{
    makeProtocol (builtInImage);
    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());

    const auto sent = ports.getSentMessages();
    ASSERT_EQ (sent.size(), 408u);
    EXPECT_EQ (sent.front().bytes.size(), 9u);
    EXPECT_EQ (sent.back().bytes.size(), 9u);
    for (size_t i = 1; i + 1 < sent.size(); ++i)
        ASSERT_EQ (sent[i].bytes.size(), 599u) << "message " << i;
    for (auto& message : sent)
    {
        EXPECT_EQ (message.port, "A");
        EXPECT_EQ (message.bytes.front(), 0xf0);
        EXPECT_EQ (message.bytes.back(), 0xf7);
    }

    EXPECT_EQ (sentBytes(), std::vector<juce::uint8> (builtInImage.getData(), builtInImage.getData() + builtInFirmwareSize));
}

TEST_F (SysexTransfer, PublishesEveryHundredthOnceThenUpdateCompleted)
{
    makeProtocol (builtInImage);
    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());

    ASSERT_EQ (progressSeen.size(), 100u);
    for (size_t i = 0; i < progressSeen.size(); ++i)
    {
        EXPECT_DOUBLE_EQ (progressSeen[i].progress, (double) (i + 1) / 100.0) << i;
        EXPECT_EQ (progressSeen[i].statusText, "Uploading firmware") << i;
    }
    EXPECT_EQ (progressSeen.back().progress, 1.0);

    EXPECT_EQ (protocol->getStatusText(), "Update completed");
    EXPECT_EQ (statusSeen.strings.getLast(), "Update completed");
    EXPECT_EQ (protocol->getProgress(), 1.0);
    EXPECT_TRUE (interface.isEnabled());
}

TEST_F (SysexTransfer, AStartAfterACompletedTransferResetsProgressAndSendsItAllAgain)
{
    makeProtocol (builtInImage);
    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());
    progressSeen.clear();

    restartAndCheckTheProgressIsReset();
    ASSERT_TRUE (runUntilThreadEnds());

    EXPECT_EQ (ports.getSentMessages().size(), 816u);
    EXPECT_EQ (progressSeen.size(), 100u);
}

TEST_F (SysexTransfer, APressAsSoonAsTheOutcomeIsThereSendsItAllAgain)
{
    // The panel enables its button on the outcome, while the transfer's thread still asks the
    // message thread for its last change to the interface. A press in that moment must start
    // the next transfer, not find the old thread running and start nothing.
    makeProtocol (builtInImage);
    juce::WaitableEvent lastWaitReached, lastWaitReleased;
    ports.duringWaitUntilSent = [&] (const juce::String&)
    {
        lastWaitReached.signal();
        lastWaitReleased.wait (10000);
    };
    protocol->startProtocol();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return lastWaitReached.wait (0); }));

    // No messages are delivered from here on, so the thread stays in its last steps.
    lastWaitReleased.signal();
    const auto giveUpAt = juce::Time::getMillisecondCounter() + 10000;
    while (protocol->getOutcome() == ProtocolBaseClass::Outcome::none && juce::Time::getMillisecondCounter() < giveUpAt)
        juce::Thread::sleep (1);
    ASSERT_EQ (protocol->getOutcome(), ProtocolBaseClass::Outcome::completed);
    ASSERT_TRUE (protocol->isThreadRunning());

    ports.duringWaitUntilSent = nullptr;
    protocol->startProtocol();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ports.getSentMessages().size() == 816u
                                                   && ! protocol->isThreadRunning(); }));
    runPendingMessages();

    EXPECT_EQ (protocol->getOutcome(), ProtocolBaseClass::Outcome::completed);
    EXPECT_EQ (protocol->getStatusText(), "Update completed");
    EXPECT_TRUE (interface.isEnabled());
}

TEST_F (SysexTransfer, AnExitRequestStopsBetweenMessagesAndLeavesTheStateAsItWas)
{
    makeProtocol (builtInImage);
    std::atomic<int> sends { 0 };
    ports.duringSend = [&] (const juce::String&)
    {
        if (++sends == 50)
            protocol->signalThreadShouldExit();
    };

    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());

    EXPECT_EQ (ports.getSentMessages().size(), 50u);
    EXPECT_EQ (protocol->getStatusText(), "Uploading firmware");
    EXPECT_FALSE (interface.isEnabled());
    // 9 + 49 x 599 bytes of 243212 were handed over: 0.12 once rounded.
    EXPECT_DOUBLE_EQ (protocol->getProgress(), 0.12);

    // Nothing of the aborted run carries over: the next one begins at the first message.
    restartAndCheckTheProgressIsReset();
    ASSERT_TRUE (runUntilThreadEnds());

    const auto sent = ports.getSentMessages();
    ASSERT_EQ (sent.size(), 50u + 408u);
    EXPECT_EQ (sent[50].bytes, sent[0].bytes);
    EXPECT_EQ (protocol->getStatusText(), "Update completed");
}

TEST_F (SysexTransfer, ASendDeafToTheExitRequestIsWaitedForNeverKilled)
{
    // Longer than the framework's usual time-out for a thread stop: a stop that gives up
    // and ends the thread by force kills it inside the send, with the port's lock held.
    ports.sendBlockIgnoringExitMs = 2500;
    makeProtocol (builtInImage);
    protocol->startProtocol();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return ports.getSendsBegun() > 0; }));

    protocol->removeChangeListener (&listener);
    protocol = nullptr;

    EXPECT_EQ (ports.getSendsReturned(), ports.getSendsBegun());
    // The port is free again: the interface can still change it.
    interface.selectOutputDevice (2);
    EXPECT_TRUE (interface.isConnected());
}

TEST_F (SysexTransfer, AStartDuringATransferChangesNothing)
{
    makeProtocol (builtInImage);
    juce::WaitableEvent releaseSend;
    std::atomic<bool> tenthSendEntered { false };
    std::atomic<int> sends { 0 };
    ports.duringSend = [&] (const juce::String&)
    {
        if (++sends == 10)
        {
            tenthSendEntered = true;
            releaseSend.wait (10000);
        }
    };

    protocol->startProtocol();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return tenthSendEntered.load(); }));
    const auto progressBefore = protocol->getProgress();

    protocol->startProtocol();
    EXPECT_EQ (protocol->getProgress(), progressBefore);
    EXPECT_GT (progressBefore, 0.0);
    releaseSend.signal();
    ASSERT_TRUE (runUntilThreadEnds());

    EXPECT_EQ (ports.getSentMessages().size(), 408u);
    EXPECT_EQ (progressSeen.size(), 100u);
}

//==============================================================================
struct FailureCase
{
    const char* what;
    std::function<void (FakeMidiPortProvider&, MidiInterfaceClass&)> arrange;
    juce::String expectedStatus;
    size_t messagesSent;
    double progressLeft; // the bytes handed over when it stopped, in hundredths
};

class FailedTransfer : public SysexTransfer,
                       public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P (FailedTransfer, SaysWhyKeepsTheBarWhereItStoppedAndDoesNotQuit)
{
    ScopedAutoUpdate scopedAutoUpdate;
    QuitRecordingApplication application;
    makeProtocol (builtInImage);
    GetParam().arrange (ports, interface);

    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());

    EXPECT_EQ (protocol->getStatusText(), GetParam().expectedStatus);
    EXPECT_EQ (statusSeen.strings.getLast(), GetParam().expectedStatus);
    EXPECT_EQ (protocol->getOutcome(), ProtocolBaseClass::Outcome::failed);
    EXPECT_FALSE (statusSeen.contains ("Update completed"));
    EXPECT_EQ (application.quitRequests, 0);
    EXPECT_TRUE (interface.isEnabled());

    EXPECT_EQ (ports.getSentMessages().size(), GetParam().messagesSent);
    EXPECT_DOUBLE_EQ (protocol->getProgress(), GetParam().progressLeft);
}

INSTANTIATE_TEST_SUITE_P (
    SysexTransfer, FailedTransfer,
    ::testing::Values (
        FailureCase { "no port open",
                      [] (FakeMidiPortProvider&, MidiInterfaceClass& interface)
                      {
                          interface.selectOutputDevice (3);
                          runPendingMessages();
                      },
                      "Update failed: the MIDI output is not open", 0, 0.0 },
        FailureCase { "a send refused",
                      [] (FakeMidiPortProvider& ports, MidiInterfaceClass&) { ports.failSend (50, "the MIDI output refused the data"); },
                      "Update failed: the MIDI output refused the data", 49, 0.12 },
        FailureCase { "unplugged mid-transfer, sends refused",
                      [] (FakeMidiPortProvider& ports, MidiInterfaceClass&)
                      {
                          ports.duringSend = [&ports, n = std::make_shared<std::atomic<int>>()] (const juce::String& port)
                          {
                              if (++*n == 100)
                                  ports.unplug (port, false);
                          };
                      },
                      "Update failed: the device was disconnected", 99, 0.24 },
        FailureCase { "unplugged mid-transfer, sends dropped without a word",
                      [] (FakeMidiPortProvider& ports, MidiInterfaceClass&)
                      {
                          ports.duringSend = [&ports, n = std::make_shared<std::atomic<int>>()] (const juce::String& port)
                          {
                              if (++*n == 100)
                                  ports.unplug (port, true);
                          };
                      },
                      // Every byte was handed to a port that said nothing: only the end notices.
                      "Update failed: the device was disconnected", 99, 1.0 },
        FailureCase { "the last message never left the port",
                      [] (FakeMidiPortProvider& ports, MidiInterfaceClass&) { ports.failWaitUntilSent ("the device stopped taking data"); },
                      "Update failed: the device stopped taking data", 408, 1.0 }),
    [] (const auto& testInfo)
    {
        return juce::String (testInfo.param.what).retainCharacters ("abcdefghijklmnopqrstuvwxyz ").replaceCharacter (' ', '_').toStdString();
    });

TEST_F (SysexTransfer, APedalThatRestartsOnceItHasEveryByteHasCompleted)
{
    // The pedal leaves the bus as soon as its last byte is in: the port list no longer has
    // it when the last wait ends. That is the update working, not a lost device.
    makeProtocol (builtInImage);
    ports.duringWaitUntilSent = [this] (const juce::String& port) { ports.unplug (port, false); };

    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());
    EXPECT_EQ (protocol->getOutcome(), ProtocolBaseClass::Outcome::completed);
    EXPECT_EQ (protocol->getStatusText(), "Update completed");
    EXPECT_EQ (ports.getSentMessages().size(), 408u);
}

TEST_F (SysexTransfer, AnotherPortChosenMidTransferFailsItAndGetsNothing)
{
    // The rest of an image sent elsewhere would leave the pedal with half an image and
    // another device with the other half.
    makeProtocol (builtInImage);
    ChangeCounter chooser;
    std::atomic<bool> chosen { false };
    chooser.onChange = [&] (juce::ChangeBroadcaster*)
    {
        // As a user would, on the message thread's behalf (the progress is told under its lock).
        if (protocol->getProgress() >= 0.5 && ! chosen.exchange (true))
            interface.selectOutputDevice (2);
    };
    protocol->addChangeListener (&chooser);

    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());
    protocol->removeChangeListener (&chooser);

    EXPECT_TRUE (chosen);
    EXPECT_EQ (protocol->getStatusText(), "Update failed: the MIDI output was changed during the update");
    EXPECT_EQ (protocol->getOutcome(), ProtocolBaseClass::Outcome::failed);
    EXPECT_FALSE (statusSeen.contains ("Update completed"));

    const auto sent = ports.getSentMessages();
    EXPECT_LT (sent.size(), 408u);
    for (const auto& message : sent)
        EXPECT_EQ (message.port, "A");
}

TEST_F (SysexTransfer, AStartAfterAFailedTransferSendsTheWholeImageAgain)
{
    makeProtocol (builtInImage);
    ports.failSend (50, "the MIDI output refused the data");
    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());
    ASSERT_EQ (protocol->getOutcome(), ProtocolBaseClass::Outcome::failed);

    restartAndCheckTheProgressIsReset();
    ASSERT_TRUE (runUntilThreadEnds());

    const auto sent = ports.getSentMessages();
    ASSERT_EQ (sent.size(), 49u + 408u);
    EXPECT_EQ (sent[49].bytes, sent[0].bytes);
    EXPECT_EQ (protocol->getStatusText(), "Update completed");
    EXPECT_EQ (protocol->getOutcome(), ProtocolBaseClass::Outcome::completed);
}

TEST_F (SysexTransfer, TakesTheMessageManagerLockOnlyToChangeTheInterfacesState)
{
    // Every progress step (100) and the interface's two changes: disabled at the start,
    // enabled at the end. Not once per message.
    makeProtocol (builtInImage);
    int enablementChanges = 0;

    struct Counter final : juce::ComponentListener
    {
        explicit Counter (int& c) : count (c) {}
        void componentEnablementChanged (juce::Component&) override { ++count; }
        int& count;
    } counter (enablementChanges);

    interface.addComponentListener (&counter);
    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());
    interface.removeComponentListener (&counter);

    EXPECT_EQ (enablementChanges, 2);
    EXPECT_TRUE (interface.isEnabled());
}

TEST_F (SysexTransfer, DisablesTheInterfaceAgainWhenItIsEnabledDuringTheTransfer)
{
    makeProtocol (builtInImage);
    ExitAwareMessageLock testLock;
    std::atomic<int> sends { 0 };
    std::atomic<bool> disabledAtEverySend { true };
    ports.duringSend = [&] (const juce::String&)
    {
        // Reading the component's flag here is safe: the message thread is held below.
        if (! juce::MessageManager::getInstance()->isThisTheMessageThread())
        {
            testLock.callWhileLocked ([&]
            {
                disabledAtEverySend = disabledAtEverySend && ! interface.isEnabled();

                if (++sends == 100)
                    interface.setEnabled (true); // as the panel does for the selector's late message
            });
        }
    };

    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());
    EXPECT_TRUE (disabledAtEverySend);
}

TEST_F (SysexTransfer, DeletingTheProtocolMidTransferStopsItsThreadAfterTheMessageInFlight)
{
    makeProtocol (builtInImage);
    std::atomic<int> sends { 0 };
    std::atomic<bool> twentiethSendEntered { false };
    ports.duringSend = [&] (const juce::String&)
    {
        if (++sends == 20)
        {
            twentiethSendEntered = true;
            while (! juce::Thread::currentThreadShouldExit())
                juce::Thread::sleep (1);
        }
    };

    protocol->startProtocol();
    ASSERT_TRUE (runMessageLoopUntil ([&] { return twentiethSendEntered.load(); }));

    protocol->removeChangeListener (&listener);
    protocol = nullptr;

    EXPECT_EQ (ports.getSentMessages().size(), 20u);
    runPendingMessages();
    EXPECT_EQ (ports.getSentMessages().size(), 20u);
}

//==============================================================================
struct MalformedImageCase
{
    const char* what;
    std::vector<int> bytes;
    size_t messagesSent;
    const char* status;
};

class MalformedImage : public SysexTransfer,
                       public ::testing::WithParamInterface<MalformedImageCase>
{
};

TEST_P (MalformedImage, FailsWhereTheDamageBeginsAndNeverCompletes)
{
    auto image = imageOf (GetParam().bytes);
    makeProtocol (image);

    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());

    EXPECT_EQ (ports.getSentMessages().size(), GetParam().messagesSent);
    EXPECT_LT (protocol->getProgress(), 1.0);
    EXPECT_EQ (protocol->getOutcome(), ProtocolBaseClass::Outcome::failed);
    EXPECT_EQ (protocol->getStatusText(), juce::String (GetParam().status));
    EXPECT_TRUE (interface.isEnabled());
}

INSTANTIATE_TEST_SUITE_P (SysexTransfer, MalformedImage,
                          ::testing::Values (MalformedImageCase { "first byte not F0", { 0x00, 0xf0, 0x01, 0xf7 }, 0,
                                                                  "Update failed: the firmware image is damaged at byte 0 (no complete SysEx message starts there)" },
                                             MalformedImageCase { "no F7 at all", { 0xf0, 0x01, 0x02 }, 0,
                                                                  "Update failed: the firmware image is damaged at byte 0 (no complete SysEx message starts there)" },
                                             MalformedImageCase { "last message unfinished", { 0xf0, 0x01, 0xf7, 0xf0, 0x02 }, 1,
                                                                  "Update failed: the firmware image is damaged at byte 3 (no complete SysEx message starts there)" },
                                             MalformedImageCase { "stray byte between messages", { 0xf0, 0x01, 0xf7, 0x05, 0xf0, 0x02, 0xf7 }, 1,
                                                                  "Update failed: the firmware image is damaged at byte 3 (no complete SysEx message starts there)" },
                                             MalformedImageCase { "empty", {}, 0, "Update failed: the firmware image is empty" }),
                          [] (const auto& testInfo)
                          {
                              return juce::String (testInfo.param.what).replaceCharacter (' ', '_').toStdString();
                          });

//==============================================================================
TEST_F (SysexTransfer, WithAutoUpdateACompletedTransferAsksTheApplicationToQuit)
{
    ScopedAutoUpdate scopedAutoUpdate;
    QuitRecordingApplication application;
    makeProtocol (builtInImage);

    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());
    EXPECT_EQ (application.quitRequests, 1);
}

TEST_F (SysexTransfer, WithAutoUpdateAnAbortedTransferDoesNotAskToQuit)
{
    ScopedAutoUpdate scopedAutoUpdate;
    QuitRecordingApplication application;
    makeProtocol (builtInImage);
    ports.duringSend = [&] (const juce::String&) { protocol->signalThreadShouldExit(); };

    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());
    EXPECT_EQ (application.quitRequests, 0);
    EXPECT_EQ (ports.getSentMessages().size(), 1u);
}

TEST_F (SysexTransfer, WithAutoUpdateAndNoApplicationObjectACompletedTransferEndsQuietly)
{
    ScopedAutoUpdate scopedAutoUpdate;
    ASSERT_EQ (juce::JUCEApplicationBase::getInstance(), nullptr);
    makeProtocol (builtInImage);

    protocol->startProtocol();
    ASSERT_TRUE (runUntilThreadEnds());
    EXPECT_EQ (protocol->getStatusText(), "Update completed");
}
