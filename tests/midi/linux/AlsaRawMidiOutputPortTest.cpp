#include <gtest/gtest.h>

#include "midi/linux/AlsaRawMidiOutputPort.h"
#include "midi/linux/AlsaSequencerOutputPort.h"

TEST (AlsaRawMidiOutputPort, FindsTheRawSubdeviceOfASequencerPortByItsIdentifier)
{
    struct Case
    {
        const char* identifier;
        bool parses;
        int client, port, device, subdevice;
    };

    // The framework's identifier is "client-port"; snd-seq-midi numbers a card's ports
    // device x 32 + subdevice.
    const Case cases[] = {
        { "24-0", true, 24, 0, 0, 0 },
        { "28-1", true, 28, 1, 0, 1 },
        { "28-33", true, 28, 33, 1, 1 },
        { "130-255", true, 130, 255, 7, 31 },
        { "Midi Through", false, 0, 0, 0, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.identifier);
        const auto address = AlsaSequencerOutputPort::parseIdentifier (c.identifier);
        ASSERT_EQ (address.has_value(), c.parses);

        if (! c.parses)
            continue;

        EXPECT_EQ (address->client, c.client);
        EXPECT_EQ (address->port, c.port);
        EXPECT_EQ (AlsaRawMidiOutputPort::deviceOfPort (address->port), c.device);
        EXPECT_EQ (AlsaRawMidiOutputPort::subdeviceOfPort (address->port), c.subdevice);
    }
}

TEST (AlsaRawMidiOutputPort, AMessageBeyondTheLargestBufferGoesInWholeBufferParts)
{
    constexpr size_t largest = AlsaRawMidiOutputPort::largestBuffer;
    const size_t message = 2 * largest + 12345;

    // The buffer grows to the message, in whole pages, up to the kernel's ceiling.
    EXPECT_EQ (AlsaRawMidiOutputPort::bufferSizeFor (599), 4096u);
    EXPECT_EQ (AlsaRawMidiOutputPort::bufferSizeFor (20000), 20480u);
    EXPECT_EQ (AlsaRawMidiOutputPort::bufferSizeFor (message), largest);

    std::vector<size_t> parts;

    for (size_t left = message; left > 0;)
    {
        parts.push_back (AlsaRawMidiOutputPort::partSize (left, AlsaRawMidiOutputPort::bufferSizeFor (left)));
        left -= parts.back();
    }

    EXPECT_EQ (parts, std::vector<size_t> ({ largest, largest, 12345 }));
}

TEST (AlsaRawMidiOutputPort, EveryKernelCardButAVirtualOneIsSentToRawAndOnlyTheSerialDriverIsFed)
{
    struct Case
    {
        const char* driver;
        bool virtualCard, fed;
    };

    // Card drivers as /proc/asound/cards names them.
    const Case cases[] = {
        { "USB-Audio", false, false },
        { "Serial", false, true },
        { "VirMIDI", true, false },
        { "MPU-401 UART", false, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.driver);
        EXPECT_EQ (AlsaRawMidiOutputPort::isVirtualRawMidiDriver (c.driver), c.virtualCard);
        EXPECT_EQ (AlsaRawMidiOutputPort::driverTakesOnlyWhenWritten (c.driver), c.fed);
    }
}

TEST (AlsaRawMidiOutputPort, AFedDevicesBufferIsWaitedForWithRoomForItsPaceToVary)
{
    // 32 KiB at MIDI's 3125 bytes a second: 10.5 s, waited 13.4 s.
    EXPECT_EQ (AlsaRawMidiOutputPort::drainTimeMs (32768.0, 3125.0), 13108 + 250);
    EXPECT_EQ (AlsaRawMidiOutputPort::drainTimeMs (0.0, 3125.0), 0);
    EXPECT_EQ (AlsaRawMidiOutputPort::drainTimeMs (-500.0, 3125.0), 0) << "a buffer found empty already";
}
