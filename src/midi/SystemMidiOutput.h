#pragma once

#include "MidiPortProvider.h"

//==============================================================================
/**
    Opens the system's MIDI output ports, the way each platform needs them sent to; one
    implementation per platform (linux/, windows/, mac/), chosen by the build.
*/
class SystemMidiOutput final
{
public:
    /** Opens the port without waiting for it; nullptr when it cannot be opened, with the
        reason in words for the user in whyNot. */
    static std::unique_ptr<MidiOutputPort> open (const juce::MidiDeviceInfo& device, juce::String& whyNot);

    /** Why a port could not be opened when the system says nothing more. */
    static constexpr const char* cannotOpen = "the MIDI output could not be opened";

    SystemMidiOutput() = delete;
};
