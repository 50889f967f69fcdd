#include "JuceMidiPortProvider.h"

namespace
{
    //==============================================================================
    class JuceMidiOutputPort final : public MidiOutputPort
    {
    public:
        explicit JuceMidiOutputPort (std::unique_ptr<juce::MidiOutput> output)
            : midiOutput (std::move (output))
        {
        }

        void sendMessage (const juce::uint8* data, int numBytes) override
        {
            midiOutput->sendMessageNow (juce::MidiMessage (data, numBytes));
        }

        bool sendWaitsForPort() const override
        {
            // WinMM hands the message to the driver and blocks until it is done; the ALSA
            // sequencer is opened non-blocking and CoreMIDI queues, so their sends return
            // at once and what overflows the port's buffer is dropped.
           #if JUCE_WINDOWS
            return true;
           #else
            return false;
           #endif
        }

    private:
        std::unique_ptr<juce::MidiOutput> midiOutput;
    };

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
    if (auto output = juce::MidiOutput::openDevice (device.identifier))
        return std::make_unique<JuceMidiOutputPort> (std::move (output));

    return nullptr;
}

std::unique_ptr<MidiInputPort> JuceMidiPortProvider::openInputPort (const juce::MidiDeviceInfo& device,
                                                                    juce::MidiInputCallback& callback)
{
    if (auto input = juce::MidiInput::openDevice (device.identifier, &callback))
        return std::make_unique<JuceMidiInputPort> (std::move (input));

    return nullptr;
}
