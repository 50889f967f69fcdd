#include "JuceMidiPortProvider.h"
#include "SystemMidiOutput.h"

#include <mutex>

namespace
{
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

    // The framework's port lists share one system client that it creates and deletes on
    // demand without a lock of its own; the list is read on the message thread and on the
    // protocol thread.
    std::mutex listLock;
} // namespace

//==============================================================================
juce::Array<juce::MidiDeviceInfo> JuceMidiPortProvider::getOutputDevices()
{
    const std::lock_guard<std::mutex> lock (listLock);
    return juce::MidiOutput::getAvailableDevices();
}

juce::Array<juce::MidiDeviceInfo> JuceMidiPortProvider::getInputDevices()
{
    const std::lock_guard<std::mutex> lock (listLock);
    return juce::MidiInput::getAvailableDevices();
}

std::unique_ptr<MidiOutputPort> JuceMidiPortProvider::openOutputPort (const juce::MidiDeviceInfo& device, juce::String& whyNot)
{
    return SystemMidiOutput::open (device, whyNot);
}

std::unique_ptr<MidiInputPort> JuceMidiPortProvider::openInputPort (const juce::MidiDeviceInfo& device,
                                                                    juce::MidiInputCallback& callback)
{
    const std::lock_guard<std::mutex> lock (listLock);

    if (auto input = juce::MidiInput::openDevice (device.identifier, &callback))
        return std::make_unique<JuceMidiInputPort> (std::move (input));

    return nullptr;
}
