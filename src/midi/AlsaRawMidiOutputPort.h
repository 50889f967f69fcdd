#pragma once

#include <juce_core/juce_core.h>

#if JUCE_LINUX

#include "MidiPortProvider.h"

typedef struct _snd_rawmidi snd_rawmidi_t;

//==============================================================================
/**
    A USB-MIDI device sent to through its ALSA raw MIDI device, at the device's own pace.

    Each message is written whole, with one blocking write, into an output buffer that
    holds it, and the buffer is drained (the device has taken every byte) before the next
    write. No pacing delay: USB flow control is the wait. The drain comes at the start of
    the next send, or in waitUntilSent at the end, so that the device takes a message
    while the sender reports its progress.

    The buffer and the drain are not only for pace. The kernel's raw MIDI write publishes
    its bytes before it copies them in; a driver transmitting at that moment on another
    CPU sends what the buffer held a buffer's length earlier. Writing only into an idle
    (drained) buffer that takes the whole message in one copy leaves nothing transmitting
    while the copy runs.

    The raw device is opened exclusively, and instead of, not beside, the sequencer port.
*/
class AlsaRawMidiOutputPort final : public MidiOutputPort
{
public:
    /** When the sequencer port with the framework's identifier "client-port" is a port of a
        kernel sound card whose driver is "USB-Audio": that port's raw MIDI device, opened
        for output. nullptr for any other port, or when the raw device cannot be opened. */
    static std::unique_ptr<AlsaRawMidiOutputPort> openForSequencerPort (const juce::String& identifier,
                                                                        const juce::String& portName);

    /** The raw MIDI device name ("hw:CARD,DEVICE,SUBDEVICE") behind a USB-Audio sequencer
        port, or an empty string. */
    static juce::String findUsbRawMidiDevice (int client, int port, const juce::String& portName);

    ~AlsaRawMidiOutputPort() override;

    juce::Result sendMessage (const juce::uint8* data, int numBytes, SendPacing& pacing) override;
    juce::Result waitUntilSent (SendPacing& pacing) override;

    /** The kernel's ceiling for one raw MIDI buffer; a longer message is written in
        buffer-sized parts, each drained before the next. */
    static constexpr size_t largestBuffer = 1024 * 1024;

private:
    explicit AlsaRawMidiOutputPort (snd_rawmidi_t* output);

    bool setBufferSize (size_t newSize);
    juce::Result write (const juce::uint8* data, size_t numBytes);
    juce::Result drain();

    snd_rawmidi_t* const output;
    size_t bufferSize = 0;
    bool draining = false; // bytes written since the last drain

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlsaRawMidiOutputPort)
};

#endif
