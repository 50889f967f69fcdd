#pragma once

#include "MidiPortProvider.h"

//==============================================================================
/** The system's MIDI ports, as the framework offers them. */
class JuceMidiPortProvider final : public MidiPortProvider
{
public:
    JuceMidiPortProvider() = default;

    juce::Array<juce::MidiDeviceInfo> getOutputDevices() override;
    juce::Array<juce::MidiDeviceInfo> getInputDevices() override;
    std::unique_ptr<MidiOutputPort> openOutputPort (const juce::MidiDeviceInfo& device, juce::String& whyNot) override;
    std::unique_ptr<MidiInputPort> openInputPort (const juce::MidiDeviceInfo& device,
                                                  juce::MidiInputCallback& callback) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceMidiPortProvider)
};
