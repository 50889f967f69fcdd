#include "midi/SystemMidiOutput.h"
#include "AlsaRawMidiOutputPort.h"
#include "AlsaSequencerOutputPort.h"

std::unique_ptr<MidiOutputPort> SystemMidiOutput::open (const juce::MidiDeviceInfo& device, juce::String& whyNot)
{
    // The framework's sequencer output is non-blocking and says nothing of what it drops, so
    // ALSA is used directly: a port of a kernel sound card through its raw MIDI device, for
    // this transfer alone and at the device's own pace; any other port (a program's, a
    // virtual raw MIDI card's) through our own sequencer client, paced.
    const auto address = AlsaSequencerOutputPort::parseIdentifier (device.identifier);

    if (! address.has_value())
    {
        whyNot = cannotOpen;
        return nullptr;
    }

    // A raw device that cannot be opened (another program holds it) is not tried through
    // the sequencer: that would fail as well, or mix the other program's bytes into the
    // firmware.
    if (const auto rawDevice = AlsaRawMidiOutputPort::findKernelRawMidiDevice (address->client, address->port, device.name))
        return AlsaRawMidiOutputPort::open (*rawDevice, whyNot);

    return AlsaSequencerOutputPort::open (*address, device.name, whyNot);
}
