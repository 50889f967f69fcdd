#include "midi/SystemMidiOutput.h"
#include "AlsaRawMidiOutputPort.h"
#include "AlsaSequencerOutputPort.h"

std::unique_ptr<MidiOutputPort> SystemMidiOutput::open (const juce::MidiDeviceInfo& device, juce::String& whyNot)
{
    // The framework's sequencer output is non-blocking and says nothing of what it drops, so
    // ALSA is used directly: a USB-MIDI device through its raw MIDI device at the device's
    // own pace, any other port through the sequencer, paced.
    const auto address = AlsaSequencerOutputPort::parseIdentifier (device.identifier);

    if (! address.has_value())
    {
        whyNot = cannotOpen;
        return nullptr;
    }

    // A USB-MIDI device that cannot be opened raw (another program holds it) is not tried
    // through the sequencer: that would fail as well, or mix the other program's bytes
    // into the firmware.
    const auto rawDevice = AlsaRawMidiOutputPort::findUsbRawMidiDevice (address->client, address->port, device.name);

    if (rawDevice.isNotEmpty())
        return AlsaRawMidiOutputPort::open (rawDevice, whyNot);

    return AlsaSequencerOutputPort::open (*address, device.name, whyNot);
}
