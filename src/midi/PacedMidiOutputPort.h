#pragma once

#include "MidiPortProvider.h"
#include "MidiSendPacer.h"

//==============================================================================
/**
    An output port whose send returns as soon as the bytes are queued, not when they have
    left: every hand-over is followed by the pacing wait, so that nothing is pushed faster
    than the wire drains.

    A driver drops whatever part of one hand-over does not fit its buffer (a few kilobytes),
    paced or not, so a long message is handed over in pieces of at most getLargestPiece()
    bytes, each paced. The bytes on the wire are the same. An exit request during the wait
    stops the hand-over there: the rest of a long message is not sent, and the device,
    which never sees its F7, discards the unfinished message.
*/
class PacedMidiOutputPort : public MidiOutputPort
{
public:
    /** Paced at the wire's rate (MidiSendPacer). */
    PacedMidiOutputPort();

    /** Paced by pacingToUse, which must outlive the port. */
    explicit PacedMidiOutputPort (SendPacing& pacingToUse);

    juce::Result sendMessage (const juce::uint8* data, int numBytes) final;
    juce::Result waitUntilSent() override;
    void setPacingEnabled (bool shouldPace) override { pacingEnabled = shouldPace; }

protected:
    /** How many bytes of this message may go in one hand-over; numBytes or more sends it whole. */
    virtual int getLargestPiece (const juce::uint8* message, int numBytes) const = 0;

    /** Hands one piece of a message to the port; pieces come in order, first to last. */
    virtual juce::Result sendPiece (const juce::uint8* piece, int numBytes, bool isFirst, bool isLast) = 0;

private:
    MidiSendPacer wirePacer;
    SendPacing& pacing;
    bool pacingEnabled = true; // set before sending starts
};
