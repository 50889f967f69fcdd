#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

//==============================================================================
/** An open MIDI output port. */
class MidiOutputPort
{
public:
    virtual ~MidiOutputPort() = default;

    /** Sends one complete message (a SysEx message from F0 to F7, or a short message). */
    virtual void sendMessage (const juce::uint8* data, int numBytes) = 0;

    /** True when sendMessage returns only after the port has taken the whole message.
        When false, the caller has to wait for the port itself or bytes may be dropped. */
    virtual bool sendWaitsForPort() const = 0;
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
    lists and opens them through the framework. Tests install their own provider so that
    an interface built anywhere (deep inside the update panel, too) gets fake ports.
*/
class MidiPortProvider
{
public:
    virtual ~MidiPortProvider() = default;

    /** The system's ports of each direction, in the order the system lists them. */
    virtual juce::Array<juce::MidiDeviceInfo> getOutputDevices() = 0;
    virtual juce::Array<juce::MidiDeviceInfo> getInputDevices() = 0;

    /** Opens a port; nullptr when it cannot be opened (busy, gone). */
    virtual std::unique_ptr<MidiOutputPort> openOutputPort (const juce::MidiDeviceInfo& device) = 0;

    /** Opens an input port that delivers to callback once started; nullptr on failure. */
    virtual std::unique_ptr<MidiInputPort> openInputPort (const juce::MidiDeviceInfo& device,
                                                          juce::MidiInputCallback& callback) = 0;

    /** The provider in force: the one last installed, or the framework-backed default. */
    static MidiPortProvider& getCurrent();

    /** Installs a provider (not owned); nullptr restores the default. Message thread only. */
    static void setCurrent (MidiPortProvider* newProvider);
};
