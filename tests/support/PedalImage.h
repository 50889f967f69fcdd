#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <vector>

//==============================================================================
/**
    Firmware images in the pedal's layout (begin message, data messages, end message), for
    tests that need a file the firmware check takes; the messages on their own, for tests
    that build images the check must refuse.
*/
namespace PedalImage
{
    using Bytes = std::vector<std::uint8_t>;

    Bytes beginMessage();
    Bytes endMessage();
    Bytes dataMessage (const Bytes& payload);

    /** A begin message, one data message per payload, an end message. */
    Bytes make (const std::vector<Bytes>& payloads);

    /** numMessages data messages of payloadLength bytes each, a different pattern in each. */
    Bytes make (int numMessages, int payloadLength);

    Bytes concat (std::initializer_list<Bytes> parts);

    juce::MemoryBlock toBlock (const Bytes& bytes);
} // namespace PedalImage
