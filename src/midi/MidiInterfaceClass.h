#pragma once

#include "InterfaceBaseClass.h"
#include "MidiPortProvider.h"
#include "MidiSendPacer.h"

#include <atomic>
#include <mutex>

//==============================================================================
/**
    The interface over the system's MIDI ports: at most one output and one input port,
    each chosen in its own selector ("Output Selector", "Input Selector").

    The port lists are taken once, from MidiPortProvider::getCurrent(), when the object is
    built; item ids keep those positions for the object's whole life.

    Sends and port changes never overlap: one lock is held across each send (including
    the wait for a port whose send does not wait by itself) and across each opening or
    closing of a port, so a port change asked for during a transfer takes effect between
    two messages. Choosing the port that is already open, as the selector's own delayed
    notification does in an automatic update, keeps it open.
*/
class MidiInterfaceClass final : public InterfaceBaseClass,
                                 private juce::ComboBox::Listener,
                                 private juce::MidiInputCallback
{
public:
    MidiInterfaceClass (bool useOutput, bool useInput);
    ~MidiInterfaceClass() override;

    //==============================================================================
    int readBytes (juce::uint8* destination, unsigned int maxBytes) override;
    int sendBytes (const juce::uint8* data, int numBytes) override;
    juce::String getSendError() override;
    int waitUntilSent() override;
    bool isOutputStillPresent() override;
    int getOutputSerial() override { return outputSerial; }
    bool isConnected() override;
    int getPreferredHeight() override;
    void selectOutputDevice (int itemId) override;
    void selectInputDevice (int itemId) override;

    void resized() override;

    /** Whether a send through a port that does not wait by itself waits for the port's
        pace (on by default). Off only to measure or to show what an unpaced sender loses. */
    void setPacingEnabled (bool shouldPace) noexcept { pacingEnabled = shouldPace; }

    static constexpr int receiveBufferSize = 256;

private:
    //==============================================================================
    void comboBoxChanged (juce::ComboBox* box) override;
    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;

    void buildSelector (std::unique_ptr<juce::ComboBox>& selector, std::unique_ptr<juce::Label>& label,
                        const juce::String& name, const juce::String& caption,
                        const juce::Array<juce::MidiDeviceInfo>& devices);

    int sendResult (const juce::Result& result);

    void openDeviceOf (juce::ComboBox& selector, int itemId);
    void openOutputDevice (int itemId);
    void closeOutputDevice();
    void openInputDevice (int itemId);
    void closeInputDevice();

    //==============================================================================
    MidiPortProvider& portProvider;
    const bool inputEnabled, outputEnabled;

    juce::Array<juce::MidiDeviceInfo> outputDevices, inputDevices;

    std::mutex portLock; // held across each send and each output port change
    std::unique_ptr<MidiOutputPort> midiOutput;
    juce::MidiDeviceInfo openOutput;    // the port midiOutput was opened on
    int openOutputId = 0;               // its item id; message thread only
    juce::String sendError;             // written and read on the sending thread, under portLock
    std::unique_ptr<MidiInputPort> midiInput;
    MidiSendPacer pacer;

    // Written under portLock on the message thread; read without it so that a send in
    // progress never stalls isConnected().
    std::atomic<bool> outputOpen { false }, inputOpen { false };
    std::atomic<bool> outputFailed { false }; // a send through the open port has failed
    std::atomic<bool> pacingEnabled { true };
    std::atomic<int> outputSerial { 0 };       // counts the port changes

    std::unique_ptr<juce::ComboBox> outputSelector;
    std::unique_ptr<juce::Label> outputSelectorLabel;
    std::unique_ptr<juce::ComboBox> inputSelector;
    std::unique_ptr<juce::Label> inputSelectorLabel;

    // One writer (the MIDI input thread) and one reader: each index is written by one side.
    juce::uint8 receiveBuffer[receiveBufferSize] = {};
    std::atomic<int> receiveWritePos { 0 };
    std::atomic<int> receiveReadPos { 0 }; // receiveBufferSize stands for 0

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiInterfaceClass)
};
