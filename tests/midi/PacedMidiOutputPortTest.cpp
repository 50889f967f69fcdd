#include <gtest/gtest.h>

#include "midi/PacedMidiOutputPort.h"

#include <vector>

namespace
{
    /** Hands SysEx messages over in pieces of at most 256 bytes, short ones whole. */
    class RecordingPort final : public PacedMidiOutputPort
    {
    public:
        explicit RecordingPort (SendPacing& pacing) : PacedMidiOutputPort (pacing) {}

        struct Piece
        {
            std::vector<juce::uint8> bytes;
            bool isFirst, isLast;
        };

        std::vector<Piece> pieces;

    private:
        int getLargestPiece (const juce::uint8* message, int numBytes) const override
        {
            return message[0] == 0xf0 ? 256 : numBytes;
        }

        juce::Result sendPiece (const juce::uint8* piece, int numBytes, bool isFirst, bool isLast) override
        {
            pieces.push_back ({ std::vector<juce::uint8> (piece, piece + numBytes), isFirst, isLast });
            return juce::Result::ok();
        }
    };

    /** Records every wait; answers "asked to exit" from the given wait on. */
    class RecordingPacing final : public SendPacing
    {
    public:
        explicit RecordingPacing (int exitFromWait = 0) : exitFrom (exitFromWait) {}

        bool waitForBytes (int numBytes) override
        {
            waits.push_back (numBytes);
            return exitFrom == 0 || (int) waits.size() < exitFrom;
        }

        std::vector<int> waits;
        int exitFrom;
    };

    std::vector<juce::uint8> sysexOfLength (int length)
    {
        std::vector<juce::uint8> message ((size_t) length);
        for (int i = 1; i < length - 1; ++i)
            message[(size_t) i] = (juce::uint8) (i % 0x80);
        message.front() = 0xf0;
        message.back() = 0xf7;
        return message;
    }
} // namespace

TEST (PacedMidiOutputPort, HandsALongMessageOverInPacedPiecesThatAddUpToIt)
{
    RecordingPacing pacing;
    RecordingPort port (pacing);
    const auto message = sysexOfLength (50115);

    ASSERT_TRUE (port.sendMessage (message.data(), (int) message.size()).wasOk());

    std::vector<juce::uint8> joined;
    for (size_t i = 0; i < port.pieces.size(); ++i)
    {
        const auto& piece = port.pieces[i];
        EXPECT_LE (piece.bytes.size(), 256u);
        EXPECT_EQ (piece.isFirst, i == 0);
        EXPECT_EQ (piece.isLast, i + 1 == port.pieces.size());
        EXPECT_EQ (pacing.waits[i], (int) piece.bytes.size()) << "each piece is paced by its own length";
        joined.insert (joined.end(), piece.bytes.begin(), piece.bytes.end());
    }

    EXPECT_EQ (port.pieces.size(), 196u); // 195 x 256 + 195
    EXPECT_EQ (pacing.waits.size(), port.pieces.size());
    EXPECT_EQ (joined, message);
}

TEST (PacedMidiOutputPort, AShortMessageGoesWholeWithOneWait)
{
    RecordingPacing pacing;
    RecordingPort port (pacing);
    const juce::uint8 noteOn[] = { 0x90, 0x40, 0x7f };

    ASSERT_TRUE (port.sendMessage (noteOn, 3).wasOk());
    ASSERT_EQ (port.pieces.size(), 1u);
    EXPECT_EQ (pacing.waits, std::vector<int> ({ 3 }));
}

TEST (PacedMidiOutputPort, AnExitRequestStopsTheHandOverBetweenPiecesButNotAfterTheLast)
{
    const auto message = sysexOfLength (1000);

    RecordingPacing exitDuringSecondWait (2);
    RecordingPort stopped (exitDuringSecondWait);
    EXPECT_TRUE (stopped.sendMessage (message.data(), 1000).failed());
    EXPECT_EQ (stopped.pieces.size(), 2u);

    // The whole message is with the port by the last wait: cutting it short loses nothing.
    RecordingPacing exitDuringLastWait (4);
    RecordingPort finished (exitDuringLastWait);
    EXPECT_TRUE (finished.sendMessage (message.data(), 1000).wasOk());
    EXPECT_EQ (finished.pieces.size(), 4u);
}
