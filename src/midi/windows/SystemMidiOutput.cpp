#include "midi/SystemMidiOutput.h"

namespace
{
    //==============================================================================
    /** WinMM hands the message to the driver and blocks until it is done. */
    class WaitingJuceMidiOutputPort final : public MidiOutputPort
    {
    public:
        explicit WaitingJuceMidiOutputPort (std::unique_ptr<juce::MidiOutput> output)
            : midiOutput (std::move (output))
        {
        }

        juce::Result sendMessage (const juce::uint8* data, int numBytes) override
        {
            // The framework's send reports nothing: a lost device shows only in the port list.
            midiOutput->sendMessageNow (juce::MidiMessage (data, numBytes));
            return juce::Result::ok();
        }

    private:
        std::unique_ptr<juce::MidiOutput> midiOutput;
    };
} // namespace

std::unique_ptr<MidiOutputPort> SystemMidiOutput::open (const juce::MidiDeviceInfo& device, juce::String& whyNot)
{
    if (auto output = juce::MidiOutput::openDevice (device.identifier))
        return std::make_unique<WaitingJuceMidiOutputPort> (std::move (output));

    // WinMM opens a port for one program at a time.
    whyNot = "the MIDI output could not be opened (it may be in use by another program: quit any MIDI application and try again)";
    return nullptr;
}
