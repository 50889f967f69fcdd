#pragma once

#include "midi/MidiPortProvider.h"

typedef struct _snd_rawmidi snd_rawmidi_t;

//==============================================================================
/**
    A USB-MIDI device sent to through its ALSA raw MIDI device, at the device's own pace.

    Each message is written whole, with one write, into an output buffer that holds it, and
    the device takes it (the buffer empties, then the driver's own packets complete) before
    the next write. No pacing delay: USB flow control is the wait. That wait comes at the
    start of the next send, or in waitUntilSent at the end, so that the device takes a
    message while the sender reports its progress.

    The buffer and the wait are not only for pace. The kernel's raw MIDI write publishes
    its bytes before it copies them in; a driver transmitting at that moment on another
    CPU sends what the buffer held a buffer's length earlier. Writing only into an idle
    buffer, with no packet of the driver in flight, that takes the whole message in one
    copy leaves nothing transmitting while the copy runs.

    Nothing here waits on the kernel unboundedly. The device is opened without waiting (a
    device another program holds fails at once), the wait for the buffer to empty watches
    the buffer itself: it ends as soon as the device is gone, when the sending thread is
    asked to exit, or when the device has taken no byte for stallTimeoutMs. Closing drops
    whatever is still queued first, and a device that has gone is closed off the caller's
    thread, because the kernel's close waits for a buffer that no device will empty.

    The raw device is opened exclusively, and instead of, not beside, the sequencer port.
*/
class AlsaRawMidiOutputPort final : public MidiOutputPort
{
public:
    /** The raw MIDI device name ("hw:CARD,DEVICE,SUBDEVICE") behind the sequencer port
        client:port when it is a port of a kernel sound card whose driver is "USB-Audio",
        or an empty string. */
    static juce::String findUsbRawMidiDevice (int client, int port, const juce::String& portName);

    /** Opens a raw MIDI device for output without waiting for it; nullptr with the reason
        in whyNot when it cannot be opened (another program holds it, it has gone). */
    static std::unique_ptr<AlsaRawMidiOutputPort> open (const juce::String& deviceName, juce::String& whyNot);

    /** The sequencer port number of a raw MIDI subdevice: snd-seq-midi numbers a card's
        ports device x 32 + subdevice (8 raw MIDI devices share the 256 port numbers). */
    static int subdeviceOfPort (int port) noexcept { return port % portsPerRawMidiDevice; }
    static int deviceOfPort (int port) noexcept { return port / portsPerRawMidiDevice; }

    ~AlsaRawMidiOutputPort() override;

    juce::Result sendMessage (const juce::uint8* data, int numBytes) override;
    juce::Result waitUntilSent() override;

    /** The kernel's ceiling for one raw MIDI buffer; a longer message is written in
        buffer-sized parts, each taken by the device before the next. */
    static constexpr size_t largestBuffer = 1024 * 1024;

    /** How long the device may take no byte at all before it counts as stopped. */
    static constexpr int stallTimeoutMs = 4000;

    /** How often a wait looks at an exit request while the device takes nothing. */
    static constexpr int pollSliceMs = 20;

    /** Splits a message into the parts the port writes, each at most bufferSize bytes. */
    static size_t partSize (size_t bytesLeft, size_t bufferSize) noexcept { return juce::jmin (bufferSize, bytesLeft); }

    /** The buffer size for a message of this many bytes: whole 4 KiB pages, at least the
        default, at most largestBuffer. */
    static size_t bufferSizeFor (size_t messageSize) noexcept;

private:
    explicit AlsaRawMidiOutputPort (snd_rawmidi_t* output);

    static constexpr int portsPerRawMidiDevice = 32;

    bool setBufferSize (size_t newSize);
    juce::Result write (const juce::uint8* data, size_t numBytes);

    /** Waits until the device has taken everything written; mustComplete: the end of a
        transfer, where a device that leaves once its buffer is empty has taken it all. */
    juce::Result waitUntilTaken (bool endOfTransfer);
    juce::Result waitUntilBufferEmpty();
    bool isGone();
    bool isEmpty();

    snd_rawmidi_t* const output;
    size_t bufferSize = 0;
    bool pending = false; // bytes written that the device may not have taken yet
    bool takenRightAfterWrite = false; // the buffer was empty straight after the last write

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlsaRawMidiOutputPort)
};
