#include "AlsaRawMidiOutputPort.h"

#if JUCE_LINUX

#include "AlsaErrors.h"
#include "AlsaSequencerOutputPort.h"

#include <alsa/asoundlib.h>

namespace
{
    // snd-seq-midi numbers a card's ports device x 32 + subdevice (8 raw MIDI devices
    // share the 256 port numbers).
    constexpr int portsPerRawMidiDevice = 32;
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
        const auto device = port / portsPerRawMidiDevice, subdevice = port % portsPerRawMidiDevice;

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
juce::String AlsaRawMidiOutputPort::findUsbRawMidiDevice (int client, int port, const juce::String& portName)
{
    const auto card = cardOfSequencerClient (client);

    if (card < 0)
        return {};

    snd_ctl_t* control = nullptr;

    if (snd_ctl_open (&control, ("hw:" + juce::String (card)).toRawUTF8(), 0) < 0)
        return {};

    snd_ctl_card_info_t* cardInfo = nullptr;
    snd_ctl_card_info_alloca (&cardInfo);
    juce::String device;

    if (snd_ctl_card_info (control, cardInfo) >= 0
        && juce::String (snd_ctl_card_info_get_driver (cardInfo)) == "USB-Audio")
        device = rawMidiDeviceOfPort (control, card, port, portName);

    snd_ctl_close (control);
    return device;
}

std::unique_ptr<AlsaRawMidiOutputPort> AlsaRawMidiOutputPort::openForSequencerPort (const juce::String& identifier,
                                                                                    const juce::String& portName)
{
    const auto address = AlsaSequencerOutputPort::parseIdentifier (identifier);

    if (! address.has_value())
        return nullptr;

    const auto device = findUsbRawMidiDevice (address->client, address->port, portName);

    if (device.isEmpty())
        return nullptr;

    // Blocking: a write returns when the buffer has taken the message, a drain when the
    // device has.
    snd_rawmidi_t* output = nullptr;

    if (snd_rawmidi_open (nullptr, &output, device.toRawUTF8(), 0) < 0)
        return nullptr;

    std::unique_ptr<AlsaRawMidiOutputPort> port (new AlsaRawMidiOutputPort (output));

    if (! port->setBufferSize (defaultBufferSize))
        return nullptr;

    return port;
}

AlsaRawMidiOutputPort::AlsaRawMidiOutputPort (snd_rawmidi_t* o) : output (o)
{
}

AlsaRawMidiOutputPort::~AlsaRawMidiOutputPort()
{
    snd_rawmidi_close (output);
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
    snd_rawmidi_params_set_avail_min (output, params, 1);

    if (snd_rawmidi_params (output, params) < 0)
        return false;

    bufferSize = newSize;
    return true;
}

//==============================================================================
juce::Result AlsaRawMidiOutputPort::sendMessage (const juce::uint8* data, int numBytes, SendPacing&)
{
    const auto size = (size_t) numBytes;

    for (size_t offset = 0; offset < size;)
    {
        // Every write goes into an idle buffer, so what went before drains first. Idle is
        // also the one moment the buffer may grow; a message beyond the kernel's ceiling
        // goes in parts.
        auto result = drain();

        if (result.wasOk())
        {
            const auto left = size - offset;

            if (left > bufferSize && bufferSize < largestBuffer)
                setBufferSize (juce::jmin (largestBuffer, (left + defaultBufferSize - 1) / defaultBufferSize * defaultBufferSize));

            const auto part = juce::jmin (bufferSize, left);
            result = write (data + offset, part);
            offset += part;
        }

        if (result.failed())
            return result;
    }

    return juce::Result::ok();
}

juce::Result AlsaRawMidiOutputPort::waitUntilSent (SendPacing&)
{
    return drain();
}

juce::Result AlsaRawMidiOutputPort::write (const juce::uint8* data, size_t numBytes)
{
    draining = true;

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

    return juce::Result::ok();
}

juce::Result AlsaRawMidiOutputPort::drain()
{
    if (! draining)
        return juce::Result::ok();

    draining = false;
    const auto drained = snd_rawmidi_drain (output);
    return drained < 0 ? juce::Result::fail (AlsaErrors::describe (drained)) : juce::Result::ok();
}

#endif
