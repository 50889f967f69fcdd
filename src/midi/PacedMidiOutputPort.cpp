#include "PacedMidiOutputPort.h"

PacedMidiOutputPort::PacedMidiOutputPort() : pacing (wirePacer)
{
}

PacedMidiOutputPort::PacedMidiOutputPort (SendPacing& pacingToUse) : pacing (pacingToUse)
{
}

juce::Result PacedMidiOutputPort::sendMessage (const juce::uint8* data, int numBytes)
{
    const auto largestPiece = juce::jmax (1, getLargestPiece (data, numBytes));

    for (int offset = 0; offset < numBytes;)
    {
        const auto pieceSize = juce::jmin (largestPiece, numBytes - offset);
        const auto isLast = offset + pieceSize == numBytes;
        const auto result = sendPiece (data + offset, pieceSize, offset == 0, isLast);

        if (result.failed())
            return result;

        offset += pieceSize;

        // After the last piece the whole message is with the port: an exit request that
        // cuts that wait short loses nothing.
        if (pacingEnabled && ! pacing.waitForBytes (pieceSize) && ! isLast)
            return juce::Result::fail ("the transfer was stopped");
    }

    return juce::Result::ok();
}

juce::Result PacedMidiOutputPort::waitUntilSent()
{
    if (! pacingEnabled || pacing.waitUntilIdle())
        return juce::Result::ok();

    return juce::Result::fail ("the transfer was stopped");
}
