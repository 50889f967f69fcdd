#pragma once

#include "midi/MidiPortProvider.h"

#include <optional>

//==============================================================================
/**
    A MIDI output port sent to through WinMM itself.

    Each message goes whole in one header, queued with midiOutLongMsg, and the send returns
    once the driver has marked the header done (the port signals an event; nothing polls the
    header at 1 ms). The wait is bounded: it gives way within pollSliceMs to an exit
    request of the sending juce::Thread, and it ends when the port has taken nothing for
    stallTimeoutMs beyond the time the message needs at MIDI's wire rate. Either way the
    header is taken back with midiOutReset before it is unprepared, so that closing always
    works. Every WinMM error becomes one reason in words for the user.

    The framework's own send waits for the driver without a bound, does not hear an exit
    request and drops every error, so it is not used.
*/
class WinMmOutputPort final : public MidiOutputPort
{
public:
    /** Opens the port listed as device without waiting or retrying; nullptr, with the
        reason in whyNot, when it is held by another program or has gone. */
    static std::unique_ptr<WinMmOutputPort> open (const juce::MidiDeviceInfo& device, juce::String& whyNot);

    /** The WinMM device number of the port listed as device now, found the way the
        framework names its ports (the device interface, or the name, numbered when it
        repeats); nothing when it is not there. */
    static std::optional<unsigned int> findDeviceNumber (const juce::MidiDeviceInfo& device);

    ~WinMmOutputPort() override;

    juce::Result sendMessage (const juce::uint8* data, int numBytes) override;

    /** How long the port may take nothing at all before it counts as stopped. */
    static constexpr int stallTimeoutMs = 4000;

    /** How often a wait looks at an exit request while the port says nothing. */
    static constexpr int pollSliceMs = 20;

    /** The reason for the user behind a WinMM error code. */
    static juce::String describe (unsigned int errorCode);

private:
    struct Native;
    explicit WinMmOutputPort (std::unique_ptr<Native> nativeToUse);

    enum class Wait
    {
        done,
        stopped,
        stalled
    };

    Wait waitForHeader (int numBytes);
    void takeHeaderBack();
    juce::Result checkStillThere();

    std::unique_ptr<Native> native;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WinMmOutputPort)
};
