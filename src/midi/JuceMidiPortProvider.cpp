#include "JuceMidiPortProvider.h"
#include "AlsaRawMidiOutputPort.h"
#include "AlsaSequencerOutputPort.h"
#include "PacedMidiOutputPort.h"

namespace
{
   #if JUCE_WINDOWS
    //==============================================================================
    /** WinMM hands the message to the driver and blocks until it is done. */
    class WaitingJuceMidiOutputPort final : public MidiOutputPort
    {
    public:
        explicit WaitingJuceMidiOutputPort (std::unique_ptr<juce::MidiOutput> output)
            : midiOutput (std::move (output))
        {
        }

        juce::Result sendMessage (const juce::uint8* data, int numBytes, SendPacing&) override
        {
            // The framework's send reports nothing: a lost device shows only in the port list.
            midiOutput->sendMessageNow (juce::MidiMessage (data, numBytes));
            return juce::Result::ok();
        }

    private:
        std::unique_ptr<juce::MidiOutput> midiOutput;
    };
   #elif ! JUCE_LINUX
    //==============================================================================
    /** CoreMIDI queues and returns at once. The framework cannot send part of a SysEx
        message, so each message goes whole. */
    class PacedJuceMidiOutputPort final : public PacedMidiOutputPort
    {
    public:
        explicit PacedJuceMidiOutputPort (std::unique_ptr<juce::MidiOutput> output)
            : midiOutput (std::move (output))
        {
        }

    private:
        int getLargestPiece (const juce::uint8*, int numBytes) const override { return numBytes; }

        juce::Result sendPiece (const juce::uint8* data, int numBytes, bool, bool) override
        {
            midiOutput->sendMessageNow (juce::MidiMessage (data, numBytes));
            return juce::Result::ok();
        }

        std::unique_ptr<juce::MidiOutput> midiOutput;
    };
   #endif

    //==============================================================================
    class JuceMidiInputPort final : public MidiInputPort
    {
    public:
        explicit JuceMidiInputPort (std::unique_ptr<juce::MidiInput> input)
            : midiInput (std::move (input))
        {
        }

        void start() override { midiInput->start(); }
        void stop() override { midiInput->stop(); }

    private:
        std::unique_ptr<juce::MidiInput> midiInput;
    };
} // namespace

//==============================================================================
juce::Array<juce::MidiDeviceInfo> JuceMidiPortProvider::getOutputDevices()
{
    return juce::MidiOutput::getAvailableDevices();
}

juce::Array<juce::MidiDeviceInfo> JuceMidiPortProvider::getInputDevices()
{
    return juce::MidiInput::getAvailableDevices();
}

std::unique_ptr<MidiOutputPort> JuceMidiPortProvider::openOutputPort (const juce::MidiDeviceInfo& device)
{
   #if JUCE_LINUX
    // The framework's sequencer output is non-blocking and says nothing of what it drops, so
    // ALSA is used directly: a USB-MIDI device through its raw MIDI device at the device's
    // own pace, any other port through the sequencer, paced.
    if (auto raw = AlsaRawMidiOutputPort::openForSequencerPort (device.identifier, device.name))
        return raw;

    return AlsaSequencerOutputPort::open (device.identifier);
   #else
    auto output = juce::MidiOutput::openDevice (device.identifier);

    if (output == nullptr)
        return nullptr;

    #if JUCE_WINDOWS
     return std::make_unique<WaitingJuceMidiOutputPort> (std::move (output));
    #else
     return std::make_unique<PacedJuceMidiOutputPort> (std::move (output));
    #endif
   #endif
}

std::unique_ptr<MidiInputPort> JuceMidiPortProvider::openInputPort (const juce::MidiDeviceInfo& device,
                                                                    juce::MidiInputCallback& callback)
{
    if (auto input = juce::MidiInput::openDevice (device.identifier, &callback))
        return std::make_unique<JuceMidiInputPort> (std::move (input));

    return nullptr;
}
