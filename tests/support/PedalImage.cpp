#include "support/PedalImage.h"

#include "firmware/SysexFormat.h"

namespace
{
    PedalImage::Bytes message (const std::uint8_t (&command)[2], const PedalImage::Bytes& payload)
    {
        using namespace SysexFormat;

        PedalImage::Bytes bytes { sysexStart };
        bytes.insert (bytes.end(), std::begin (manufacturerId), std::end (manufacturerId));
        bytes.insert (bytes.end(), std::begin (modelId), std::end (modelId));
        bytes.insert (bytes.end(), std::begin (command), std::end (command));
        bytes.insert (bytes.end(), payload.begin(), payload.end());
        bytes.push_back (sysexEnd);
        return bytes;
    }
} // namespace

PedalImage::Bytes PedalImage::beginMessage() { return message (SysexFormat::beginCommand, {}); }
PedalImage::Bytes PedalImage::endMessage() { return message (SysexFormat::endCommand, {}); }
PedalImage::Bytes PedalImage::dataMessage (const Bytes& payload) { return message (SysexFormat::dataCommand, payload); }

PedalImage::Bytes PedalImage::make (const std::vector<Bytes>& payloads)
{
    auto image = beginMessage();

    for (const auto& payload : payloads)
    {
        const auto data = dataMessage (payload);
        image.insert (image.end(), data.begin(), data.end());
    }

    const auto end = endMessage();
    image.insert (image.end(), end.begin(), end.end());
    return image;
}

PedalImage::Bytes PedalImage::make (int numMessages, int payloadLength)
{
    std::vector<Bytes> payloads;

    for (int n = 0; n < numMessages; ++n)
    {
        Bytes payload;

        for (int i = 0; i < payloadLength; ++i)
            payload.push_back ((std::uint8_t) ((n * 31 + i * 7) & 0x7f));

        payloads.push_back (std::move (payload));
    }

    return make (payloads);
}

PedalImage::Bytes PedalImage::concat (std::initializer_list<Bytes> parts)
{
    Bytes all;

    for (const auto& part : parts)
        all.insert (all.end(), part.begin(), part.end());

    return all;
}

juce::MemoryBlock PedalImage::toBlock (const Bytes& bytes)
{
    return { bytes.data(), bytes.size() };
}
