#include "AlsaRawMidiOutputPort.h"
#include "AlsaErrors.h"

#include <alsa/asoundlib.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace
{
    constexpr size_t defaultBufferSize = 4096;

    int cardOfSequencerClient (int client)
    {
        snd_seq_t* sequencer = nullptr;

        if (snd_seq_open (&sequencer, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0)
            return -1;

        snd_seq_client_info_t* info = nullptr;
        snd_seq_client_info_alloca (&info);
        auto card = -1;

        if (snd_seq_get_any_client_info (sequencer, client, info) >= 0)
            card = snd_seq_client_info_get_card (info); // -1 for a client in user space

        snd_seq_close (sequencer);
        return card;
    }

    /** An output subdevice of the card named as the port is, or false. */
    bool isOutputSubdevice (snd_ctl_t* control, int device, int subdevice, const juce::String& portName)
    {
        snd_rawmidi_info_t* info = nullptr;
        snd_rawmidi_info_alloca (&info);
        snd_rawmidi_info_set_device (info, (unsigned int) device);
        snd_rawmidi_info_set_subdevice (info, (unsigned int) subdevice);
        snd_rawmidi_info_set_stream (info, SND_RAWMIDI_STREAM_OUTPUT);

        return snd_ctl_rawmidi_info (control, info) >= 0
               && portName == juce::String::fromUTF8 (snd_rawmidi_info_get_subdevice_name (info));
    }

    int outputSubdevicesOf (snd_ctl_t* control, int device)
    {
        snd_rawmidi_info_t* info = nullptr;
        snd_rawmidi_info_alloca (&info);
        snd_rawmidi_info_set_device (info, (unsigned int) device);
        snd_rawmidi_info_set_stream (info, SND_RAWMIDI_STREAM_OUTPUT);

        return snd_ctl_rawmidi_info (control, info) >= 0 ? (int) snd_rawmidi_info_get_subdevices_count (info) : 0;
    }

    juce::String rawMidiDeviceOfPort (snd_ctl_t* control, int card, int port, const juce::String& portName)
    {
        const auto name = [card] (int device, int subdevice)
        {
            return "hw:" + juce::String (card) + "," + juce::String (device) + "," + juce::String (subdevice);
        };

        // The port number says which subdevice; the name confirms it.
        const auto device = AlsaRawMidiOutputPort::deviceOfPort (port), subdevice = AlsaRawMidiOutputPort::subdeviceOfPort (port);

        if (isOutputSubdevice (control, device, subdevice, portName))
            return name (device, subdevice);

        // Otherwise the subdevice that carries the port's name, if exactly that one does.
        juce::StringArray matches;

        for (int d = -1; snd_ctl_rawmidi_next_device (control, &d) >= 0 && d >= 0;)
            for (int s = 0; s < outputSubdevicesOf (control, d); ++s)
                if (isOutputSubdevice (control, d, s, portName))
                    matches.add (name (d, s));

        return matches.size() == 1 ? matches[0] : juce::String();
    }
} // namespace

//==============================================================================
std::optional<AlsaRawMidiOutputPort::Device> AlsaRawMidiOutputPort::findKernelRawMidiDevice (int client, int port, const juce::String& portName)
{
    const auto card = cardOfSequencerClient (client);

    if (card < 0)
        return std::nullopt;

    snd_ctl_t* control = nullptr;

    if (snd_ctl_open (&control, ("hw:" + juce::String (card)).toRawUTF8(), 0) < 0)
        return std::nullopt;

    snd_ctl_card_info_t* cardInfo = nullptr;
    snd_ctl_card_info_alloca (&cardInfo);
    std::optional<Device> device;

    if (snd_ctl_card_info (control, cardInfo) >= 0)
    {
        const juce::String driver (snd_ctl_card_info_get_driver (cardInfo));

        if (! isVirtualRawMidiDriver (driver))
            if (const auto name = rawMidiDeviceOfPort (control, card, port, portName); name.isNotEmpty())
                device = Device { name, driverTakesOnlyWhenWritten (driver) };
    }

    snd_ctl_close (control);
    return device;
}

namespace
{
    // alsa-lib writes each failed call to standard error ("SNDRV_RAWMIDI_IOCTL_STATUS failed:
    // No such device"); the failure reaches the user once, in words, as the transfer's end.
    void ignoreAlsaMessage (const char*, int, const char*, int, const char*, ...) {}
} // namespace

std::unique_ptr<AlsaRawMidiOutputPort> AlsaRawMidiOutputPort::open (const Device& device, juce::String& whyNot)
{
    const auto& deviceName = device.name;

    snd_lib_error_set_handler (ignoreAlsaMessage);

    // Opened without waiting: a blocking open of a device that another program holds waits
    // until that program lets go, for ever if need be. The writes then block again, which
    // costs nothing: each goes into an empty buffer that holds it.
    snd_rawmidi_t* output = nullptr;
    const auto opened = snd_rawmidi_open (nullptr, &output, deviceName.toRawUTF8(), SND_RAWMIDI_NONBLOCK);

    if (opened < 0)
    {
        whyNot = AlsaErrors::describe (opened == -EAGAIN ? -EBUSY : opened);
        return nullptr;
    }

    std::unique_ptr<AlsaRawMidiOutputPort> port (new AlsaRawMidiOutputPort (output, device.takesOnlyWhenWritten));

    // A fed device is only ever written what its buffer has room for, and a write must not
    // wait for room that only a write can make; any other is written blocking.
    if (snd_rawmidi_nonblock (output, device.takesOnlyWhenWritten ? 1 : 0) < 0 || ! port->setBufferSize (defaultBufferSize))
    {
        whyNot = port->isGone() ? "the device was disconnected" : "the MIDI output could not be set up";
        return nullptr;
    }

    return port;
}

size_t AlsaRawMidiOutputPort::bufferSizeFor (size_t messageSize) noexcept
{
    const auto pages = (messageSize + defaultBufferSize - 1) / defaultBufferSize;
    return juce::jlimit (defaultBufferSize, largestBuffer, pages * defaultBufferSize);
}

AlsaRawMidiOutputPort::AlsaRawMidiOutputPort (snd_rawmidi_t* o, bool isFed) : output (o), fed (isFed)
{
}

AlsaRawMidiOutputPort::~AlsaRawMidiOutputPort()
{
    // The kernel's close waits (up to 10 s) for the device to take what is still queued:
    // drop it first, the port is being given up. Once the device has gone nothing empties
    // the buffer and the drop is refused, so such a port is closed off this thread; the
    // close ends by itself when the kernel's wait runs out.
    if (! pending)
    {
        snd_rawmidi_close (output);
        return;
    }

    if (snd_rawmidi_drop (output) >= 0)
        snd_rawmidi_close (output);
    else
        std::thread ([handle = output] { snd_rawmidi_close (handle); }).detach();
}

bool AlsaRawMidiOutputPort::setBufferSize (size_t newSize)
{
    snd_rawmidi_params_t* params = nullptr;
    snd_rawmidi_params_alloca (&params);

    if (snd_rawmidi_params_current (output, params) < 0)
        return false;

    // Closing the device must not add an active-sensing byte of its own to the stream.
    snd_rawmidi_params_set_no_active_sensing (output, params, 1);
    snd_rawmidi_params_set_buffer_size (output, params, newSize);
    // Ready to write means all but one byte taken (the most ALSA allows): a poll wakes as
    // the buffer empties, and the last byte is looked for from there. A fed device is
    // written whenever there is room: the write is what makes its driver take more.
    snd_rawmidi_params_set_avail_min (output, params, fed ? 1 : newSize - 1);

    if (snd_rawmidi_params (output, params) < 0)
        return false;

    bufferSize = newSize;
    return true;
}

bool AlsaRawMidiOutputPort::isEmpty()
{
    snd_rawmidi_status_t* status = nullptr;
    snd_rawmidi_status_alloca (&status);
    return snd_rawmidi_status (output, status) >= 0 && snd_rawmidi_status_get_avail (status) >= bufferSize;
}

bool AlsaRawMidiOutputPort::isGone()
{
    snd_rawmidi_status_t* status = nullptr;
    snd_rawmidi_status_alloca (&status);
    const auto result = snd_rawmidi_status (output, status);
    return result == -ENODEV || result == -ENXIO || result == -ENOENT;
}

//==============================================================================
juce::Result AlsaRawMidiOutputPort::sendMessage (const juce::uint8* data, int numBytes)
{
    const auto size = (size_t) numBytes;

    if (fed)
    {
        // The latest bytes stay back until the next message or the end, where they prompt
        // the driver to take the rest.
        heldBack.insert (heldBack.end(), data, data + size);

        if (heldBack.size() <= heldBackBytes)
            return juce::Result::ok();

        const auto toWrite = heldBack.size() - heldBackBytes;
        const auto fedResult = feed (heldBack.data(), toWrite);

        if (fedResult.wasOk())
            heldBack.erase (heldBack.begin(), heldBack.begin() + (std::ptrdiff_t) toWrite);

        return fedResult;
    }

    for (size_t offset = 0; offset < size;)
    {
        // Every write goes into an idle buffer, so what went before is taken first. Idle is
        // also the one moment the buffer may grow; a message beyond the kernel's ceiling
        // goes in parts, and an exit request is heard between them.
        if (offset > 0 && juce::Thread::currentThreadShouldExit())
            return juce::Result::fail ("the transfer was stopped");

        auto result = waitUntilTaken (false);

        if (result.wasOk())
        {
            const auto left = size - offset;

            if (left > bufferSize && bufferSize < largestBuffer)
                setBufferSize (bufferSizeFor (left));

            const auto part = partSize (left, bufferSize);
            result = write (data + offset, part);
            offset += part;
        }

        if (result.failed())
            return result;
    }

    return juce::Result::ok();
}

juce::Result AlsaRawMidiOutputPort::waitUntilSent()
{
    if (fed)
        return finishFeeding();

    return waitUntilTaken (true);
}

juce::Result AlsaRawMidiOutputPort::write (const juce::uint8* data, size_t numBytes)
{
    pending = true;

    for (size_t written = 0; written < numBytes;)
    {
        const auto result = snd_rawmidi_write (output, data + written, numBytes - written);

        if (result < 0)
        {
            if (result == -EINTR)
                continue;

            return juce::Result::fail (AlsaErrors::describe ((int) result));
        }

        written += (size_t) result;
    }

    // The driver often takes a short message while it is being written. A pedal that
    // restarts the moment it has its last one can be gone before the wait for it looks, and
    // the port then tells nothing more: look now.
    takenRightAfterWrite = isEmpty();
    return juce::Result::ok();
}

juce::Result AlsaRawMidiOutputPort::waitUntilTaken (bool endOfTransfer)
{
    if (! pending)
        return juce::Result::ok();

    if (auto emptied = waitUntilBufferEmpty(); emptied.failed())
    {
        // Its buffer had emptied before the device left: the restart of a pedal that has its
        // whole image, as below.
        if (! (endOfTransfer && takenRightAfterWrite && isGone()))
            return emptied;

        pending = false;
        return juce::Result::ok();
    }

    // The buffer is empty; the driver's last packets may still be on their way. The
    // kernel's drain waits for those (a few milliseconds at most, its wait for the buffer
    // itself is already over).
    const auto drained = snd_rawmidi_drain (output);
    pending = false;

    // A pedal restarts once it has its whole image, and leaves the bus at once: its buffer
    // had emptied, so that is a completed transfer, not a lost device.
    if (drained < 0 && ! (endOfTransfer && isGone()))
        return juce::Result::fail (AlsaErrors::describe (drained));

    return juce::Result::ok();
}

juce::Result AlsaRawMidiOutputPort::waitUntilBufferEmpty()
{
    snd_rawmidi_status_t* status = nullptr;
    snd_rawmidi_status_alloca (&status);

    std::vector<pollfd> descriptors ((size_t) juce::jmax (1, snd_rawmidi_poll_descriptors_count (output)));
    const auto numDescriptors = snd_rawmidi_poll_descriptors (output, descriptors.data(), (unsigned int) descriptors.size());

    size_t lastAvail = 0;
    auto lastProgress = Clock::now();

    for (;;)
    {
        const auto result = snd_rawmidi_status (output, status);

        if (result < 0)
            return juce::Result::fail (AlsaErrors::describe (result));

        const auto avail = snd_rawmidi_status_get_avail (status);

        if (avail >= bufferSize)
            return juce::Result::ok();

        if (juce::Thread::currentThreadShouldExit())
            return juce::Result::fail ("the transfer was stopped");

        // Only a device that takes nothing at all has stopped; a slow one (a USB-to-DIN
        // cable at MIDI's own rate) still takes a few bytes every millisecond.
        const auto now = Clock::now();

        if (avail != lastAvail)
        {
            lastAvail = avail;
            lastProgress = now;
        }
        else if (now - lastProgress > std::chrono::milliseconds (stallTimeoutMs))
        {
            return juce::Result::fail ("the device stopped taking data");
        }

        // A poll wakes once all but the last byte are taken (it reports ready from then on),
        // and that byte goes within a millisecond or so.
        if (numDescriptors <= 0 || avail + 1 >= bufferSize)
            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        else
            poll (descriptors.data(), (nfds_t) numDescriptors, pollSliceMs);
    }
}

//==============================================================================
int AlsaRawMidiOutputPort::drainTimeMs (double bytesInIt, double bytesPerSecond) noexcept
{
    if (bytesInIt <= 0.0 || bytesPerSecond <= 0.0)
        return 0;

    return (int) std::ceil (bytesInIt / bytesPerSecond * 1250.0) + 250;
}

juce::Result AlsaRawMidiOutputPort::readPending (size_t& waiting)
{
    snd_rawmidi_status_t* status = nullptr;
    snd_rawmidi_status_alloca (&status);
    const auto result = snd_rawmidi_status (output, status);

    if (result < 0)
        return juce::Result::fail (AlsaErrors::describe (result));

    const auto avail = snd_rawmidi_status_get_avail (status);
    waiting = avail >= bufferSize ? 0 : bufferSize - avail;

    if (const auto taken = bytesWritten - waiting; taken != bytesTaken)
    {
        bytesTaken = taken;
        lastTaken = Clock::now();
    }

    return juce::Result::ok();
}

juce::Result AlsaRawMidiOutputPort::writeFed (const juce::uint8* data, size_t numBytes)
{
    if (bytesWritten == 0)
        firstWrite = lastTaken = Clock::now();

    pending = true;

    for (size_t written = 0; written < numBytes;)
    {
        const auto result = snd_rawmidi_write (output, data + written, numBytes - written);

        // Only what the buffer has room for is written, so a full one means the driver
        // took nothing at all.
        if (result == -EAGAIN)
            return juce::Result::fail ("the device stopped taking data");

        if (result < 0 && result != -EINTR)
            return juce::Result::fail (AlsaErrors::describe ((int) result));

        if (result > 0)
        {
            written += (size_t) result;
            bytesWritten += (juce::uint64) result;
        }
    }

    // The write prompted the driver: what is still in the raw buffer did not fit its own,
    // which is full now.
    size_t waiting = 0;

    if (auto result = readPending (waiting); result.failed())
        return result;

    if (waiting > 0)
    {
        lastFull = Clock::now();
        takenWhenLastFull = bytesTaken;

        if (! everFull)
        {
            everFull = true;
            firstFull = lastFull;
            takenWhenFirstFull = bytesTaken;
        }
    }

    return juce::Result::ok();
}

juce::Result AlsaRawMidiOutputPort::feed (const juce::uint8* data, size_t numBytes)
{
    for (size_t offset = 0; offset < numBytes;)
    {
        if (juce::Thread::currentThreadShouldExit())
            return juce::Result::fail ("the transfer was stopped");

        size_t waiting = 0;

        if (auto result = readPending (waiting); result.failed())
            return result;

        if (waiting > 0 && Clock::now() - lastTaken > std::chrono::milliseconds (stallTimeoutMs))
            return juce::Result::fail ("the device stopped taking data");

        // While the driver takes everything, pieces follow one another; once its buffer is
        // full, a one-byte prompt after feedIntervalMs lets it take what has left its wire
        // meanwhile (its buffer holds seconds of it, so the wire never waits). Seldom, as
        // the driver logs each prompt that finds it full. The raw buffer never fills: a
        // write with no room would prompt nothing.
        auto piece = juce::jmin (feedPieceSize, numBytes - offset);

        if (waiting > 2 * feedPieceSize)
        {
            std::this_thread::sleep_for (std::chrono::milliseconds (feedIntervalMs));
            piece = 1;
        }

        if (waiting + piece >= bufferSize)
            continue;

        if (auto result = writeFed (data + offset, piece); result.failed())
            return result;

        offset += piece;
    }

    return juce::Result::ok();
}

juce::Result AlsaRawMidiOutputPort::finishFeeding()
{
    // The bytes held back prompt the driver, one at a time, until it has taken all that was
    // written before them; the rest go once it has, into the room it has made since.
    while (! heldBack.empty())
    {
        if (juce::Thread::currentThreadShouldExit())
            return juce::Result::fail ("the transfer was stopped");

        std::this_thread::sleep_for (std::chrono::milliseconds (finalPromptIntervalMs));
        size_t waiting = 0;

        if (auto result = readPending (waiting); result.failed())
            return result;

        if (waiting > 0 && Clock::now() - lastTaken > std::chrono::milliseconds (stallTimeoutMs))
            return juce::Result::fail ("the device stopped taking data");

        const auto count = waiting == 0 ? heldBack.size() : (size_t) 1;

        if (auto result = writeFed (heldBack.data(), count); result.failed())
            return result;

        heldBack.erase (heldBack.begin(), heldBack.begin() + (std::ptrdiff_t) count);
    }

    size_t waiting = 0;

    if (auto result = readPending (waiting); result.failed())
        return result;

    // Nothing is left to prompt it with: bytes it did not take now would never go.
    if (waiting > 0)
        return juce::Result::fail ("the device stopped taking data");

    return waitForDeviceBuffer();
}

juce::Result AlsaRawMidiOutputPort::waitForDeviceBuffer()
{
    // The driver's own buffer cannot be asked, and closing the device discards it: it is
    // waited for at the pace the device showed while its buffer was full (its wire ran all
    // the while), or at a slow serial line's when it never filled.
    constexpr double slowLineBytesPerSecond = 2000.0;
    const auto seconds = [] (Clock::duration d) { return std::chrono::duration<double> (d).count(); };

    const auto fullFor = everFull ? seconds (lastFull - firstFull) : 0.0;
    const auto rate = fullFor >= 1.0 ? (double) (takenWhenLastFull - takenWhenFirstFull) / fullFor : slowLineBytesPerSecond;
    const auto left = (double) bytesTaken - rate * seconds (Clock::now() - firstWrite);
    const auto until = Clock::now() + std::chrono::milliseconds (drainTimeMs (left, juce::jmax (1.0, rate)));

    while (Clock::now() < until)
    {
        if (juce::Thread::currentThreadShouldExit())
            return juce::Result::fail ("the transfer was stopped");

        std::this_thread::sleep_for (std::chrono::milliseconds (pollSliceMs));
    }

    // Empty now: a transfer through the port still open starts the count afresh.
    pending = everFull = false;
    bytesWritten = bytesTaken = 0;
    return juce::Result::ok();
}
