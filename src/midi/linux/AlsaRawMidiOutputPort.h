#pragma once

#include "midi/MidiPortProvider.h"

#include <chrono>
#include <optional>
#include <vector>

typedef struct _snd_rawmidi snd_rawmidi_t;

//==============================================================================
/**
    A kernel MIDI port (a USB-MIDI device, a serial or PCI MIDI port) sent to through its
    ALSA raw MIDI device, opened for this port alone, at the device's own pace.

    Each message is written whole, with one write, into an output buffer that holds it, and
    the device takes it (the buffer empties, then the driver's own packets complete) before
    the next write. No pacing delay: the device's own flow control is the wait. That wait
    comes at the start of the next send, or in waitUntilSent at the end, so that the device
    takes a message while the sender reports its progress.

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

    The raw device is opened exclusively, and instead of, not beside, the sequencer port:
    while it is open, no other program can send to the port, raw or through the sequencer.

    Some drivers (the 16550 serial MIDI driver) take bytes from the raw buffer only when
    they are written to, into a buffer of their own (32 KiB) that neither the raw buffer's
    state nor its drain covers, and that closing the device discards. Such a device is fed:
    in small writes, each also the prompt for the driver to take what it has room for, so
    that what it takes is what left its wire; the last bytes are held back to prompt it at
    the end, and the end waits, at the pace the device showed, for its own buffer to empty.
*/
class AlsaRawMidiOutputPort final : public MidiOutputPort
{
public:
    struct Device
    {
        juce::String name;         // "hw:CARD,DEVICE,SUBDEVICE"
        bool takesOnlyWhenWritten; // the driver must be fed (see above)
    };

    /** The raw MIDI device behind the sequencer port client:port when it is a port of a
        kernel sound card, other than a virtual raw MIDI card (whose raw side is the other
        end of the port, not the way to it); nothing otherwise. */
    static std::optional<Device> findKernelRawMidiDevice (int client, int port, const juce::String& portName);

    /** Whether a card's driver takes bytes only when written to (see above). */
    static bool driverTakesOnlyWhenWritten (const juce::String& driver) { return driver == "Serial"; }

    /** Whether a card's raw MIDI devices are the far side of its sequencer ports. */
    static bool isVirtualRawMidiDriver (const juce::String& driver) { return driver == "VirMIDI"; }

    /** Opens a raw MIDI device for output without waiting for it; nullptr with the reason
        in whyNot when it cannot be opened (another program holds it, it has gone). */
    static std::unique_ptr<AlsaRawMidiOutputPort> open (const Device& device, juce::String& whyNot);

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

    /** A fed device: the bytes of each write, the most held back for the end, and how
        often it is prompted while its own buffer is full. */
    static constexpr size_t feedPieceSize = 32;
    static constexpr size_t heldBackBytes = 16;
    static constexpr int feedIntervalMs = 250;
    static constexpr int finalPromptIntervalMs = 50;

    /** How long a fed device's own buffer takes to empty: bytesInIt at bytesPerSecond, with
        room for the pace to vary. */
    static int drainTimeMs (double bytesInIt, double bytesPerSecond) noexcept;

private:
    AlsaRawMidiOutputPort (snd_rawmidi_t* output, bool fed);

    static constexpr int portsPerRawMidiDevice = 32;

    bool setBufferSize (size_t newSize);
    juce::Result write (const juce::uint8* data, size_t numBytes);

    /** Waits until the device has taken everything written; mustComplete: the end of a
        transfer, where a device that leaves once its buffer is empty has taken it all. */
    juce::Result waitUntilTaken (bool endOfTransfer);
    juce::Result waitUntilBufferEmpty();
    bool isGone();
    bool isEmpty();

    juce::Result feed (const juce::uint8* data, size_t numBytes);
    juce::Result writeFed (const juce::uint8* data, size_t numBytes);
    juce::Result finishFeeding();
    juce::Result waitForDeviceBuffer();
    juce::Result readPending (size_t& pending);

    snd_rawmidi_t* const output;
    const bool fed;
    size_t bufferSize = 0;
    bool pending = false; // bytes written that the device may not have taken yet
    bool takenRightAfterWrite = false; // the buffer was empty straight after the last write

    // A fed device, on the sending thread only.
    using Clock = std::chrono::steady_clock;
    std::vector<juce::uint8> heldBack;    // the latest bytes, not written yet
    juce::uint64 bytesWritten = 0;        // into the raw buffer
    juce::uint64 bytesTaken = 0;          // by the driver, as last seen
    Clock::time_point firstWrite, lastTaken;
    juce::uint64 takenWhenFirstFull = 0;  // the driver's buffer was first found full
    Clock::time_point firstFull, lastFull;
    juce::uint64 takenWhenLastFull = 0;
    bool everFull = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlsaRawMidiOutputPort)
};
