#include "midi/SystemMidiOutput.h"
#include "WinMmOutputPort.h"

std::unique_ptr<MidiOutputPort> SystemMidiOutput::open (const juce::MidiDeviceInfo& device, juce::String& whyNot)
{
    // WinMM opens a port for one program at a time; a port held by another one is refused
    // at once, with no retry.
    return WinMmOutputPort::open (device, whyNot);
}
