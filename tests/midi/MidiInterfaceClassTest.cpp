#include <gtest/gtest.h>

#include "midi/MidiInterfaceClass.h"
#include "support/FakeMidiPortProvider.h"
#include "support/MessageLoop.h"

#include <thread>

namespace
{
    juce::ComboBox* findSelector (juce::Component& interface, const juce::String& name)
    {
        for (auto* child : interface.getChildren())
            if (auto* box = dynamic_cast<juce::ComboBox*> (child); box != nullptr && box->getName() == name)
                return box;
        return nullptr;
    }

    /** The selector's list as "text=id", with "--" for a separator. */
    juce::StringArray listOf (juce::ComboBox& box)
    {
        juce::StringArray entries;
        for (juce::PopupMenu::MenuItemIterator it (*box.getRootMenu()); it.next();)
        {
            const auto& item = it.getItem();
            entries.add (item.isSeparator ? juce::String ("--") : item.text + "=" + juce::String (item.itemID));
        }
        return entries;
    }

    juce::uint8 byteAt (int i) { return (juce::uint8) (i & 0x7f); }
} // namespace

//==============================================================================
struct SelectorCase
{
    const char* name;
    juce::StringArray ports;
    juce::StringArray expectedList;
    int disconnectedId;
};

class SelectorList : public ::testing::TestWithParam<SelectorCase>
{
};

TEST_P (SelectorList, ListsDisconnectedFirstThenThePortsAndStartsDisconnected)
{
    const auto& param = GetParam();
    FakeMidiPortProvider ports (param.ports);
    MidiInterfaceClass interface (true, false);
    ChangeCounter listener;
    listener.onChange = [&] (juce::ChangeBroadcaster* source)
    {
        EXPECT_EQ (source, &interface);
        EXPECT_FALSE (interface.isConnected());
    };
    interface.addChangeListener (&listener);

    auto* box = findSelector (interface, "Output Selector");
    ASSERT_NE (box, nullptr);
    EXPECT_EQ (listOf (*box), param.expectedList);
    EXPECT_EQ (box->getSelectedId(), param.disconnectedId);
    EXPECT_EQ (findSelector (interface, "Input Selector"), nullptr);

    // The start selection is announced later, on the message thread.
    EXPECT_EQ (listener.count, 0);
    runPendingMessages();
    EXPECT_EQ (listener.count, 1);
    EXPECT_TRUE (ports.getEvents().isEmpty());
}

INSTANTIATE_TEST_SUITE_P (MidiInterfaceClass, SelectorList,
                          ::testing::Values (SelectorCase { "twoPorts", { "A", "B" }, { "(Disconnected)=3", "--", "A=1", "B=2" }, 3 },
                                             SelectorCase { "noPorts", {}, { "(Disconnected)=1" }, 1 }),
                          [] (const auto& testInfo) { return std::string (testInfo.param.name); });

TEST (MidiInterfaceClass, CaptionsSitAboveTheirSelectors)
{
    FakeMidiPortProvider ports ({ "A" }, { "In" });
    MidiInterfaceClass interface (true, true);

    for (auto [name, caption] : { std::pair ("Output Selector", "Select an output device:"),
                                  std::pair ("Input Selector", "Select an input device:") })
    {
        auto* box = findSelector (interface, name);
        ASSERT_NE (box, nullptr) << name;
        bool found = false;
        for (auto* child : interface.getChildren())
            if (auto* label = dynamic_cast<juce::Label*> (child))
                if (label->getAttachedComponent() == box)
                    found = label->getText() == caption;
        EXPECT_TRUE (found) << name;
    }
}

//==============================================================================
TEST (MidiInterfaceClass, OutputOnlyLaysOutOneSelectorAndFollowsTheOutputPort)
{
    FakeMidiPortProvider ports ({ "A" }, { "In" });
    MidiInterfaceClass interface (true, false);
    interface.setSize (300, interface.getPreferredHeight());

    EXPECT_EQ (interface.getPreferredHeight(), 50);
    EXPECT_EQ (findSelector (interface, "Output Selector")->getBounds(), juce::Rectangle<int> (0, 20, 300, 30));

    interface.selectOutputDevice (1);
    EXPECT_TRUE (interface.isConnected());

    juce::uint8 buffer[4];
    EXPECT_EQ (interface.readBytes (buffer, 4), 0);
}

TEST (MidiInterfaceClass, BothDirectionsConnectOnlyWithBothPortsOpen)
{
    FakeMidiPortProvider ports ({ "A" }, { "In" });
    MidiInterfaceClass interface (true, true);
    interface.setSize (300, interface.getPreferredHeight());

    EXPECT_EQ (interface.getPreferredHeight(), 100);
    EXPECT_EQ (findSelector (interface, "Output Selector")->getBounds(), juce::Rectangle<int> (0, 20, 300, 30));
    EXPECT_EQ (findSelector (interface, "Input Selector")->getBounds(), juce::Rectangle<int> (0, 70, 300, 30));

    interface.selectOutputDevice (1);
    EXPECT_FALSE (interface.isConnected());
    interface.selectInputDevice (1);
    EXPECT_TRUE (interface.isConnected());
    interface.selectOutputDevice (2);
    EXPECT_FALSE (interface.isConnected());
}

//==============================================================================
class MidiInterfaceWithTwoPorts : public ::testing::Test
{
protected:
    MidiInterfaceWithTwoPorts()
    {
        interface.addChangeListener (&listener);
        runPendingMessages(); // the start notification
        listener.count = 0;
    }

    FakeMidiPortProvider ports { { "A", "B" } };
    MidiInterfaceClass interface { true, false };
    ChangeCounter listener;
    juce::ComboBox& box = *findSelector (interface, "Output Selector");
};

TEST_F (MidiInterfaceWithTwoPorts, ChoosingInTheBoxOpensAndClosesThePort)
{
    box.setSelectedId (2, juce::sendNotificationAsync);
    runPendingMessages();
    EXPECT_EQ (ports.getOpenOutputs(), juce::StringArray ("B"));
    EXPECT_TRUE (interface.isConnected());
    EXPECT_EQ (listener.count, 1);

    box.setSelectedId (3, juce::sendNotificationAsync);
    runPendingMessages();
    EXPECT_TRUE (ports.getOpenOutputs().isEmpty());
    EXPECT_FALSE (interface.isConnected());
    EXPECT_EQ (listener.count, 2);
}

TEST_F (MidiInterfaceWithTwoPorts, SelectOutputDeviceOpensAtOnceAndTheBoxKeepsTheSamePortOpen)
{
    listener.onChange = [&] (juce::ChangeBroadcaster*)
    {
        EXPECT_TRUE (interface.isConnected());
        EXPECT_EQ (ports.getOpenOutputs(), juce::StringArray ("B"));
    };

    interface.selectOutputDevice (2);
    EXPECT_EQ (ports.getOpenOutputs(), juce::StringArray ("B"));
    EXPECT_EQ (listener.count, 0);

    runPendingMessages();
    EXPECT_GE (listener.count, 1);
    EXPECT_EQ (ports.getEvents(), juce::StringArray ("open B")); // the box chose the open port: kept open
    EXPECT_EQ (box.getSelectedId(), 2);
}

TEST_F (MidiInterfaceWithTwoPorts, APortWhoseSendFailedIsOpenedAfreshWhenChosenAgain)
{
    const juce::uint8 message[] = { 0xf0, 0x01, 0xf7 };
    interface.selectOutputDevice (1);
    ports.failSend (1, "the MIDI output refused the data");

    EXPECT_EQ (interface.sendBytes (message, 3), InterfaceBaseClass::sendFailed);
    EXPECT_EQ (interface.getSendError(), "the MIDI output refused the data");

    interface.selectOutputDevice (1);
    EXPECT_EQ (interface.sendBytes (message, 3), 0);
    EXPECT_EQ (ports.getEvents(), juce::StringArray ({ "open A", "close A", "open A", "sent A" }));
}

TEST_F (MidiInterfaceWithTwoPorts, AFailedSendThroughAnUnpluggedDeviceSaysItWasDisconnected)
{
    const juce::uint8 message[] = { 0xf0, 0x01, 0xf7 };
    interface.selectOutputDevice (2);
    EXPECT_TRUE (interface.isOutputStillPresent());

    ports.unplug ("B", false);
    EXPECT_FALSE (interface.isOutputStillPresent());
    EXPECT_EQ (interface.sendBytes (message, 3), InterfaceBaseClass::sendFailed);
    EXPECT_EQ (interface.getSendError(), "the device was disconnected");
}

TEST_F (MidiInterfaceWithTwoPorts, IdsBeyondThePortListLeaveNoPortOpen)
{
    for (auto itemId : { 3, 4, 99 })
    {
        interface.selectOutputDevice (1);
        runPendingMessages();
        listener.count = 0;

        interface.selectOutputDevice (itemId);
        EXPECT_FALSE (interface.isConnected()) << itemId;
        runPendingMessages();
        EXPECT_FALSE (interface.isConnected()) << itemId;
        EXPECT_TRUE (ports.getOpenOutputs().isEmpty()) << itemId;
        EXPECT_GE (listener.count, 1) << itemId;
    }
}

TEST (MidiInterfaceClass, APortThatFailsToOpenLeavesTheInterfaceUnconnected)
{
    FakeMidiPortProvider ports ({ "A", "B" });
    ports.portsThatFailToOpen.add ("B");
    MidiInterfaceClass interface (true, false);

    interface.selectOutputDevice (1);
    interface.selectOutputDevice (2);
    EXPECT_FALSE (interface.isConnected());
    EXPECT_TRUE (ports.getOpenOutputs().isEmpty());
}

//==============================================================================
TEST_F (MidiInterfaceWithTwoPorts, SendsOneWholeMessageThroughTheOpenPortOnly)
{
    const juce::uint8 message[] = { 0xf0, 0x00, 0x4f, 0x51, 0x01, 0xf7 };

    EXPECT_EQ (interface.sendBytes (message, (int) sizeof (message)), InterfaceBaseClass::sendFailed);
    EXPECT_EQ (interface.getSendError(), "the MIDI output is not open");
    EXPECT_TRUE (ports.getSentMessages().empty());

    interface.selectOutputDevice (1);
    EXPECT_EQ (interface.sendBytes (message, (int) sizeof (message)), 0);

    const auto sent = ports.getSentMessages();
    ASSERT_EQ (sent.size(), 1u);
    EXPECT_EQ (sent[0].port, "A");
    EXPECT_EQ (sent[0].bytes, std::vector<juce::uint8> (std::begin (message), std::end (message)));
}

TEST_F (MidiInterfaceWithTwoPorts, APortChangeWaitsForTheMessageInFlight)
{
    interface.selectOutputDevice (1);
    runPendingMessages();

    juce::WaitableEvent sendEntered, releaseSend;
    ports.duringSend = [&] (const juce::String&)
    {
        sendEntered.signal();
        releaseSend.wait (10000);
    };

    const juce::uint8 message[] = { 0xf0, 0x01, 0xf7 };
    std::thread sender ([&] { interface.sendBytes (message, 3); });
    ASSERT_TRUE (sendEntered.wait (10000));

    // Let the send go a while after the change has been asked for: without the lock the
    // port would be closed under the message.
    std::thread releaser ([&] {
        juce::Thread::sleep (100);
        releaseSend.signal();
    });
    box.setSelectedId (2, juce::sendNotificationAsync);
    runMessageLoopUntil ([&] { return ports.getOpenOutputs() == juce::StringArray ("B"); });

    sender.join();
    releaser.join();
    EXPECT_EQ (ports.getEvents(), juce::StringArray ({ "open A", "sent A", "close A", "open B" }));
}

//==============================================================================
TEST_F (MidiInterfaceWithTwoPorts, TheListFollowsTheSystemAndTheChosenEntryStaysChosen)
{
    auto& box = *findSelector (interface, "Output Selector");
    box.setSelectedId (2);
    runPendingMessages();
    ASSERT_EQ (ports.getOpenOutputs(), juce::StringArray ("B"));

    ports.plug ("Corvane Chorus MIDI 1");   // plugged in after the start
    interface.refreshOutputs();
    EXPECT_EQ (listOf (box), juce::StringArray ({ "(Disconnected)=4", "--", "A=1", "B=2", "Corvane Chorus MIDI 1=3" }));
    EXPECT_EQ (box.getText(), "B");

    ports.unplug ("A", false);               // another port goes away
    interface.refreshOutputs();
    EXPECT_EQ (listOf (box), juce::StringArray ({ "(Disconnected)=3", "--", "B=1", "Corvane Chorus MIDI 1=2" }));
    EXPECT_EQ (box.getSelectedId(), 1);
    EXPECT_EQ (box.getText(), "B");
    EXPECT_EQ (ports.getOpenOutputs(), juce::StringArray ("B")) << "the chosen port is neither closed nor reopened";

    // Ids are positions in the list as it is now.
    interface.selectOutputDevice (2);
    EXPECT_EQ (ports.getOpenOutputs(), juce::StringArray ("Corvane Chorus MIDI 1"));
}

TEST_F (MidiInterfaceWithTwoPorts, ADevicePluggedInAgainIsOpenedAfreshForTheNextTransfer)
{
    interface.selectOutputDevice (1);
    const juce::uint8 message[] = { 0xf0, 0x01, 0xf7 };
    ports.unplug ("A", false);
    ASSERT_EQ (interface.sendBytes (message, 3), InterfaceBaseClass::sendFailed);
    EXPECT_EQ (interface.getSendError(), "the device was disconnected");

    // Gone, the chosen entry stays listed and chosen, and says why it cannot be used.
    interface.refreshOutputs();
    auto& box = *findSelector (interface, "Output Selector");
    EXPECT_EQ (box.getText(), "A");
    const auto whileGone = interface.prepareOutput();
    EXPECT_EQ (whileGone.getErrorMessage(), "the device was disconnected");

    ports.plug ("A");                        // back, as a new port
    interface.refreshOutputs();
    EXPECT_EQ (listOf (box), juce::StringArray ({ "(Disconnected)=3", "--", "B=1", "A=2" }));
    EXPECT_EQ (box.getText(), "A");
    ASSERT_TRUE (interface.prepareOutput().wasOk());
    ASSERT_EQ (interface.sendBytes (message, 3), 0);
    EXPECT_EQ (ports.getSentMessages().size(), 1u);
    EXPECT_EQ (ports.getEvents().joinIntoString (","), "open A,close A,open A,sent A");
}

TEST (MidiInterfaceClass, TwoIdenticalDevicesAreNeverTakenForEachOther)
{
    const juce::String pedal ("Corvane Chorus MIDI 1");
    FakeMidiPortProvider ports (juce::StringArray (pedal, pedal));
    MidiInterfaceClass interface (true, false);
    auto& box = *findSelector (interface, "Output Selector");
    const juce::uint8 message[] = { 0xf0, 0x01, 0xf7 };
    const juce::StringArray bothListed { "(Disconnected)=3", "--", pedal + "=1", pedal + "=2" };

    interface.selectOutputDevice (2);        // the second pedal
    runPendingMessages();
    ASSERT_EQ (ports.getOpenedIdentifiers(), juce::StringArray ("out1"));

    // It restarts after its update and leaves: its entry stays chosen, greyed, and the
    // first pedal, there all along, does not take its place.
    ports.unplugAt (1, false);
    interface.refreshOutputs();
    EXPECT_EQ (listOf (box), bothListed);
    EXPECT_EQ (box.getSelectedId(), 2);
    EXPECT_FALSE (box.isItemEnabled (2));
    EXPECT_TRUE (box.isItemEnabled (1));

    // Update pressed now: nothing is opened or sent on the first pedal.
    EXPECT_EQ (interface.prepareOutput().getErrorMessage(), "the device was disconnected");
    EXPECT_EQ (interface.sendBytes (message, 3), InterfaceBaseClass::sendFailed);
    interface.refreshOutputs();
    EXPECT_FALSE (interface.isConnected());
    EXPECT_EQ (ports.getOpenedIdentifiers(), juce::StringArray ("out1"));
    EXPECT_TRUE (ports.getSentMessages().empty());

    // A device of that name that appears after it left is it, back.
    const auto back = ports.plug (pedal, true);
    interface.refreshOutputs();
    EXPECT_EQ (listOf (box), bothListed);
    EXPECT_EQ (box.getSelectedId(), 2);
    EXPECT_TRUE (box.isItemEnabled (2));
    ASSERT_TRUE (interface.prepareOutput().wasOk());
    ASSERT_EQ (interface.sendBytes (message, 3), 0);

    const auto sent = ports.getSentMessages();
    ASSERT_EQ (sent.size(), 1u);
    EXPECT_EQ (sent[0].identifier, back);
    EXPECT_EQ (ports.getOpenedIdentifiers(), juce::StringArray ("out1", back));
}

TEST_F (MidiInterfaceWithTwoPorts, APortPluggedInJustBeforeThePressIsListed)
{
    interface.selectOutputDevice (1);
    runPendingMessages();
    listener.count = 0;

    ports.plug ("C");                        // between two refreshes
    ASSERT_TRUE (interface.prepareOutput().wasOk());
    EXPECT_EQ (listOf (box), juce::StringArray ({ "(Disconnected)=4", "--", "A=1", "B=2", "C=3" }));
    EXPECT_EQ (box.getText(), "A");
    EXPECT_EQ (ports.getEvents(), juce::StringArray ("open A")) << "the open port is kept";

    runPendingMessages();
    EXPECT_EQ (listener.count, 1);

    // The list and the snapshot agree: a refresh finds nothing new, and the next port is offered too.
    interface.refreshOutputs();
    runPendingMessages();
    EXPECT_EQ (listener.count, 1);
    ports.plug ("D");
    interface.refreshOutputs();
    EXPECT_EQ (listOf (box), juce::StringArray ({ "(Disconnected)=5", "--", "A=1", "B=2", "C=3", "D=4" }));
}

TEST (MidiInterfaceClass, APortHeldByAnotherProgramSaysWhyAndOpensOnceItIsFree)
{
    FakeMidiPortProvider ports ({ "A" });
    ports.portsThatFailToOpen.add ("A");
    MidiInterfaceClass interface (true, false);

    interface.selectOutputDevice (1);
    EXPECT_FALSE (interface.isConnected());
    EXPECT_EQ (interface.getOutputError(), "the MIDI output is in use by another program");
    EXPECT_EQ (interface.prepareOutput().getErrorMessage(), "the MIDI output is in use by another program");

    ports.portsThatFailToOpen.clear();       // the other program let go
    interface.refreshOutputs();
    EXPECT_TRUE (interface.isConnected());
    EXPECT_TRUE (interface.getOutputError().isEmpty());
}

TEST_F (MidiInterfaceWithTwoPorts, ASendMeantForAnEarlierPortReachesNoOther)
{
    interface.selectOutputDevice (1);
    const auto serialOfA = interface.getOutputSerial();
    interface.selectOutputDevice (2);

    const juce::uint8 message[] = { 0xf0, 0x01, 0xf7 };
    EXPECT_EQ (interface.sendBytesTo (serialOfA, message, 3), InterfaceBaseClass::sendFailed);
    EXPECT_EQ (interface.getSendError(), "the MIDI output was changed during the update");
    EXPECT_EQ (interface.waitUntilSent (serialOfA), InterfaceBaseClass::sendFailed);
    EXPECT_TRUE (ports.getSentMessages().empty());
}

//==============================================================================
class ReceiveRing : public ::testing::Test
{
protected:
    ReceiveRing() { interface.selectInputDevice (1); }

    void receive (int numBytes)
    {
        // Short messages only: the ring stores every byte it is given, status bytes too.
        for (int i = 0; i < numBytes; ++i)
            ASSERT_TRUE (ports.deliverToInput ("In", juce::MidiMessage (&nextByte, 1)));
    }

    juce::uint8 nextByte = 0x10;
    FakeMidiPortProvider ports { {}, { "In" } };
    MidiInterfaceClass interface { false, true };
};

TEST_F (ReceiveRing, HandsOutBytesOldestFirstInAsManyReadsAsAsked)
{
    juce::uint8 bytes[10];
    std::vector<juce::uint8> payload;
    for (int i = 0; i < 10; ++i)
        payload.push_back (byteAt (i));
    ASSERT_TRUE (ports.deliverToInput ("In", juce::MidiMessage::createSysExMessage (payload.data(), (int) payload.size())));

    // F0, ten data bytes, F7: twelve bytes in all.
    ASSERT_EQ (interface.readBytes (bytes, 4), 4);
    EXPECT_EQ (std::vector<juce::uint8> (bytes, bytes + 4), std::vector<juce::uint8> ({ 0xf0, 0, 1, 2 }));
    ASSERT_EQ (interface.readBytes (bytes, 10), 8);
    EXPECT_EQ (bytes[0], 3);
    EXPECT_EQ (bytes[7], 0xf7);
    EXPECT_EQ (interface.readBytes (bytes, 10), 0);
}

TEST_F (ReceiveRing, KeepsTheOrderAcrossTheWrap)
{
    juce::uint8 bytes[256];
    receive (200);
    ASSERT_EQ (interface.readBytes (bytes, 256), 200);

    std::vector<juce::uint8> payload;
    for (int i = 0; i < 100; ++i)
        payload.push_back (byteAt (i));
    ASSERT_TRUE (ports.deliverToInput ("In", juce::MidiMessage::createSysExMessage (payload.data(), (int) payload.size())));

    ASSERT_EQ (interface.readBytes (bytes, 256), 102);
    EXPECT_EQ (bytes[0], 0xf0);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ (bytes[i + 1], byteAt (i));
    EXPECT_EQ (bytes[101], 0xf7);
}

TEST_F (ReceiveRing, ExactlyAFullRingOfUnreadBytesLooksEmpty)
{
    juce::uint8 bytes[256];
    receive (256);
    EXPECT_EQ (interface.readBytes (bytes, 256), 0);
}

TEST_F (ReceiveRing, ReadsNothingOnceTheInputIsClosed)
{
    juce::uint8 bytes[4];
    receive (3);
    interface.selectInputDevice (2);
    EXPECT_FALSE (ports.deliverToInput ("In", juce::MidiMessage (&nextByte, 1)));
    EXPECT_EQ (interface.readBytes (bytes, 4), 0);
}

TEST_F (ReceiveRing, AReaderOnAnotherThreadSeesEveryByteInOrder)
{
    constexpr int total = 20000;
    std::atomic<int> consumed { 0 };

    std::thread writer ([&] {
        for (int i = 0; i < total; ++i)
        {
            // Stay well inside the ring: overflow is not what this checks.
            while (i - consumed.load() > 200)
                std::this_thread::yield();

            const auto byte = byteAt (i);
            ports.deliverToInput ("In", juce::MidiMessage (&byte, 1, 0.0));
        }
    });

    int received = 0;
    bool inOrder = true;
    juce::uint8 bytes[64];
    while (received < total)
    {
        const auto n = interface.readBytes (bytes, sizeof (bytes));
        for (int i = 0; i < n; ++i)
            inOrder = inOrder && bytes[i] == byteAt (received + i);
        received += n;
        consumed = received;
        if (n == 0)
            std::this_thread::yield();
    }

    writer.join();
    EXPECT_TRUE (inOrder);
    EXPECT_EQ (received, total);
}
