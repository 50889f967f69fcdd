#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

//==============================================================================
/** An open MIDI output port. */
class MidiOutputPort
{
public:
    virtual ~MidiOutputPort() = default;

    /** Sends one complete message (a SysEx message from F0 to F7, or a short message) and
        returns once the port has taken it; a port whose own send returns earlier waits for
        its pace itself. Fails, with a reason for the user, when the port refused the bytes,
        the device has gone or stopped taking data, or an exit request of the sending
        juce::Thread stopped the hand-over before the message's end. */
    virtual juce::Result sendMessage (const juce::uint8* data, int numBytes) = 0;

    /** Returns once the device has been sent every byte handed to the port: the end of a
        transfer. Fails like sendMessage, also when an exit request cut the wait short. */
    virtual juce::Result waitUntilSent() { return juce::Result::ok(); }

    /** Whether a port that paces its sends to the wire's rate does so (on by default). Off
        only to measure, or to show what an unpaced sender loses. */
    virtual void setPacingEnabled (bool) {}
};

//==============================================================================
/** An open MIDI input port; closing it is deleting it. */
class MidiInputPort
{
public:
    virtual ~MidiInputPort() = default;

    virtual void start() = 0;
    virtual void stop() = 0;
};

//==============================================================================
/**
    Where MIDI ports come from.

    The interface asks MidiPortProvider::getCurrent() for the system's ports; the default
    lists and opens them through the framework (and, on Linux, sends through ALSA itself).
    Tests install their own provider so that an interface built anywhere (deep inside the
    update panel, too) gets fake ports.
*/
class MidiPortProvider
{
public:
    virtual ~MidiPortProvider() = default;

    /** The system's ports of each direction, in the order the system lists them. */
    virtual juce::Array<juce::MidiDeviceInfo> getOutputDevices() = 0;
    virtual juce::Array<juce::MidiDeviceInfo> getInputDevices() = 0;

    /** Whether an output port is still in the system's list (a device that was unplugged
        is not). May be called on any thread. */
    virtual bool isOutputPresent (const juce::MidiDeviceInfo& device);

    /** Opens a port without waiting for it; nullptr when it cannot be opened (busy, gone),
        with the reason, in words for the user, in whyNot. Message thread. */
    virtual std::unique_ptr<MidiOutputPort> openOutputPort (const juce::MidiDeviceInfo& device, juce::String& whyNot) = 0;

    /** Opens an input port that delivers to callback once started; nullptr on failure. */
    virtual std::unique_ptr<MidiInputPort> openInputPort (const juce::MidiDeviceInfo& device,
                                                          juce::MidiInputCallback& callback) = 0;

    /** The provider in force: the one last installed, or the framework-backed default. */
    static MidiPortProvider& getCurrent();

    /** Installs a provider (not owned); nullptr restores the default. Message thread only. */
    static void setCurrent (MidiPortProvider* newProvider);
};
