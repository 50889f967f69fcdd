#include "midi/PacedMidiOutputPort.h"
#include "midi/SystemMidiOutput.h"

namespace
{
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
} // namespace

std::unique_ptr<MidiOutputPort> SystemMidiOutput::open (const juce::MidiDeviceInfo& device, juce::String& whyNot)
{
    if (auto output = juce::MidiOutput::openDevice (device.identifier))
        return std::make_unique<PacedJuceMidiOutputPort> (std::move (output));

    whyNot = cannotOpen;
    return nullptr;
}
