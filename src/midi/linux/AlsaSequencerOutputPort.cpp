#include "AlsaSequencerOutputPort.h"

#include "AlsaErrors.h"

#include <alsa/asoundlib.h>

namespace
{
    constexpr juce::uint8 sysexStart = 0xf0;
}

//==============================================================================
std::optional<AlsaSequencerOutputPort::Address> AlsaSequencerOutputPort::parseIdentifier (const juce::String& identifier)
{
    if (! identifier.containsChar ('-'))
        return std::nullopt;

    return Address { identifier.upToFirstOccurrenceOf ("-", false, false).getIntValue(),
                     identifier.fromFirstOccurrenceOf ("-", false, false).getIntValue() };
}

std::unique_ptr<AlsaSequencerOutputPort> AlsaSequencerOutputPort::open (Address address, const juce::String& portName, juce::String& whyNot)
{
    const auto [client, port] = address;
    snd_seq_t* sequencer = nullptr;

    if (snd_seq_open (&sequencer, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0)
    {
        whyNot = "the MIDI system could not be reached";
        return nullptr;
    }

    if (! isPortNamed (sequencer, address, portName))
    {
        snd_seq_close (sequencer);
        whyNot = "the device was disconnected";
        return nullptr;
    }

    snd_seq_set_client_name (sequencer, "Firmhold");

    const auto ownPort = snd_seq_create_simple_port (sequencer, "Firmhold output",
                                                     SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                                     SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);

    // The connection is what makes a kernel MIDI port open its device for output.
    const auto connected = ownPort < 0 ? ownPort : snd_seq_connect_to (sequencer, ownPort, client, port);

    if (connected < 0)
    {
        snd_seq_close (sequencer);
        whyNot = AlsaErrors::describe (connected);
        return nullptr;
    }

    return std::unique_ptr<AlsaSequencerOutputPort> (new AlsaSequencerOutputPort (sequencer, ownPort, client, port));
}

bool AlsaSequencerOutputPort::isPortNamed (snd_seq_t* sequencer, Address address, const juce::String& portName)
{
    snd_seq_port_info_t* info = nullptr;
    snd_seq_port_info_alloca (&info);

    return snd_seq_get_any_port_info (sequencer, address.client, address.port, info) >= 0
           // Read as the framework reads the names it lists.
           && juce::String (snd_seq_port_info_get_name (info)) == portName;
}

AlsaSequencerOutputPort::AlsaSequencerOutputPort (snd_seq_t* s, int own, int client, int port)
    : sequencer (s), ownPort (own), destinationClient (client), destinationPort (port)
{
}

AlsaSequencerOutputPort::~AlsaSequencerOutputPort()
{
    snd_seq_close (sequencer);
}

//==============================================================================
int AlsaSequencerOutputPort::getLargestPiece (const juce::uint8* message, int numBytes) const
{
    return message[0] == sysexStart ? largestSysexPiece : numBytes;
}

juce::Result AlsaSequencerOutputPort::sendPiece (const juce::uint8* piece, int numBytes, bool isFirst, bool isLast)
{
    if (isFirst && isLast && piece[0] != sysexStart)
        return sendShortMessage (piece, numBytes);

    snd_seq_event_t event;
    snd_seq_ev_clear (&event);
    snd_seq_ev_set_source (&event, ownPort);
    snd_seq_ev_set_dest (&event, destinationClient, destinationPort);
    snd_seq_ev_set_direct (&event);
    // snd_seq_ev_set_sysex, spelled out without its sign-changing mask arithmetic.
    event.type = SND_SEQ_EVENT_SYSEX;
    event.flags = (unsigned char) ((event.flags & ~(unsigned int) SND_SEQ_EVENT_LENGTH_MASK) | SND_SEQ_EVENT_LENGTH_VARIABLE);
    event.data.ext.len = (unsigned int) numBytes;
    event.data.ext.ptr = const_cast<juce::uint8*> (piece);

    const auto result = snd_seq_event_output_direct (sequencer, &event);
    return result < 0 ? juce::Result::fail (AlsaErrors::describe (result)) : juce::Result::ok();
}

juce::Result AlsaSequencerOutputPort::sendShortMessage (const juce::uint8* message, int numBytes)
{
    snd_midi_event_t* encoder = nullptr;

    if (snd_midi_event_new ((size_t) numBytes, &encoder) < 0)
        return juce::Result::fail ("the MIDI output refused the data");

    snd_seq_event_t event;
    snd_seq_ev_clear (&event);
    auto result = (int) snd_midi_event_encode (encoder, message, numBytes, &event);
    snd_midi_event_free (encoder);

    if (result <= 0 || event.type == SND_SEQ_EVENT_NONE)
        return juce::Result::fail ("the MIDI output refused the data");

    snd_seq_ev_set_source (&event, ownPort);
    snd_seq_ev_set_dest (&event, destinationClient, destinationPort);
    snd_seq_ev_set_direct (&event);

    result = snd_seq_event_output_direct (sequencer, &event);
    return result < 0 ? juce::Result::fail (AlsaErrors::describe (result)) : juce::Result::ok();
}
