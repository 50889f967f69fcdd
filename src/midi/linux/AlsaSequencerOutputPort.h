#pragma once

#include <juce_core/juce_core.h>

#include <optional>

#include "midi/PacedMidiOutputPort.h"

typedef struct _snd_seq snd_seq_t;

//==============================================================================
/**
    A sequencer port (a software client, a virtual raw MIDI card) sent to through
    our own ALSA sequencer client, paced.

    The framework's sequencer output cannot send part of a SysEx message, and the kernel
    drops whatever part of one event does not fit the port's buffer. Here a SysEx message
    goes out as sequencer SysEx events of at most largestSysexPiece bytes each; the kernel's
    MIDI client writes their data to the wire as it is, so the bytes on the wire are the
    message's own. Events are addressed to the port itself, so a send to a port that has
    gone fails instead of reaching no one.
*/
class AlsaSequencerOutputPort final : public PacedMidiOutputPort
{
public:
    struct Address
    {
        int client, port;
    };

    /** Connects to the sequencer port at address, which must still be the port named
        portName (after a device has gone, its numbers may belong to another); nullptr with
        the reason in whyNot when it cannot be reached. */
    static std::unique_ptr<AlsaSequencerOutputPort> open (Address address, const juce::String& portName, juce::String& whyNot);

    /** The client and port of the framework's identifier "client-port"; nothing for any
        other identifier. */
    static std::optional<Address> parseIdentifier (const juce::String& identifier);

    ~AlsaSequencerOutputPort() override;

    static constexpr int largestSysexPiece = 256;

private:
    AlsaSequencerOutputPort (snd_seq_t* sequencer, int ownPort, int client, int port);

    static bool isPortNamed (snd_seq_t* sequencer, Address address, const juce::String& portName);

    int getLargestPiece (const juce::uint8* message, int numBytes) const override;
    juce::Result sendPiece (const juce::uint8* piece, int numBytes, bool isFirst, bool isLast) override;
    juce::Result sendShortMessage (const juce::uint8* message, int numBytes);

    snd_seq_t* const sequencer;
    const int ownPort, destinationClient, destinationPort;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlsaSequencerOutputPort)
};
