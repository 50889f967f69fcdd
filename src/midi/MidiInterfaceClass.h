#pragma once

#include "InterfaceBaseClass.h"
#include "MidiPortProvider.h"

#include <atomic>
#include <mutex>

//==============================================================================
/**
    The interface over the system's MIDI ports: at most one output and one input port,
    each chosen in its own selector ("Output Selector", "Input Selector").

    The output list follows the system: while the interface is enabled (no transfer runs)
    it is read again every refreshIntervalMs, so a device plugged in later is offered and
    one that went away is not. The chosen entry stays chosen while others come and go; a
    chosen device that went away stays listed (greyed), and when a port of its name appears
    after it left (a device plugged in again gets a new identity) the entry stands for that
    port; a port of that name that was there all along (a second, identical device) never
    does. Item ids are positions in the list as it is now; the input list is read once.

    Sends and port changes never overlap: one lock is held across each send (including
    the wait for the port to take it) and across each opening or closing of a port, so a
    port change takes effect between two messages, and a send names the port it is meant
    for. Choosing the port that is already open, as the selector's own delayed
    notification does in an automatic update, keeps it open.
*/
class MidiInterfaceClass final : public InterfaceBaseClass,
                                 private juce::ComboBox::Listener,
                                 private juce::MidiInputCallback,
                                 private juce::Timer
{
public:
    MidiInterfaceClass (bool useOutput, bool useInput);
    ~MidiInterfaceClass() override;

    //==============================================================================
    int readBytes (juce::uint8* destination, unsigned int maxBytes) override;
    int sendBytes (const juce::uint8* data, int numBytes) override;
    int sendBytesTo (int outputSerial, const juce::uint8* data, int numBytes) override;
    juce::String getSendError() override;
    int waitUntilSent (int outputSerial) override;
    bool isOutputStillPresent() override;
    int getOutputSerial() override { return outputSerial; }
    juce::Result prepareOutput() override;
    juce::String getOutputError() override { return outputError; }
    bool isConnected() override;
    int getPreferredHeight() override;
    void selectOutputDevice (int itemId) override;
    void selectInputDevice (int itemId) override;

    void resized() override;

    /** Reads the system's output ports again and, when they changed, the selector's list;
        retries a chosen port that could not be opened. Skipped while the interface is
        disabled (a transfer runs) or the selector's list is open. Message thread. */
    void refreshOutputs();

    /** Whether a send through a port that does not wait by itself waits for the port's
        pace (on by default). Off only to measure or to show what an unpaced sender loses. */
    void setPacingEnabled (bool shouldPace);

    static constexpr int receiveBufferSize = 256;
    static constexpr int refreshIntervalMs = 1000;

private:
    //==============================================================================
    void comboBoxChanged (juce::ComboBox* box) override;
    void handleIncomingMidiMessage (juce::MidiInput* source, const juce::MidiMessage& message) override;
    void timerCallback() override { refreshOutputs(); }

    void buildSelector (std::unique_ptr<juce::ComboBox>& selector, std::unique_ptr<juce::Label>& label,
                        const juce::String& name, const juce::String& caption,
                        const juce::Array<juce::MidiDeviceInfo>& devices);
    static void fillSelector (juce::ComboBox& selector, const juce::Array<juce::MidiDeviceInfo>& devices, int selectedId);
    bool readSystemOutputs();
    void followChosenOutput();
    void updateOutputList();

    int sendResult (const juce::Result& result);

    void openDeviceOf (juce::ComboBox& selector, int itemId);
    void openOutputDevice (int itemId);
    bool openChosenOutput();
    void closeOutputDevice();
    void openInputDevice (int itemId);
    void closeInputDevice();

    //==============================================================================
    MidiPortProvider& portProvider;
    const bool inputEnabled, outputEnabled;

    // As listed in the selector: the system's ports, then a chosen one that has gone.
    juce::Array<juce::MidiDeviceInfo> outputDevices, inputDevices;
    juce::Array<juce::MidiDeviceInfo> systemOutputs; // as last read; message thread only

    bool hasChosenOutput = false;       // message thread only
    juce::MidiDeviceInfo chosenOutput;  // the entry chosen, as its port is now known
    juce::Array<juce::MidiDeviceInfo> outputsWhileChosenPresent; // the system's ports when the chosen one was last there
    juce::String outputError;           // why the chosen entry is not open; message thread

    std::mutex portLock; // held across each send and each output port change
    std::unique_ptr<MidiOutputPort> midiOutput;
    juce::MidiDeviceInfo openOutput;    // the port midiOutput was opened on
    juce::String sendError;             // written and read on the sending thread, under portLock
    std::unique_ptr<MidiInputPort> midiInput;
    bool pacingEnabled = true;          // under portLock

    // Written under portLock on the message thread; read without it so that a send in
    // progress never stalls isConnected().
    std::atomic<bool> outputOpen { false }, inputOpen { false };
    std::atomic<bool> outputFailed { false }; // a send through the open port has failed
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
