#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/**
    A connection to the pedal, shown as a component with its port selectors.

    It broadcasts a change (asynchronously, naming itself) whenever its ports change.
    sendBytes, sendBytesTo, waitUntilSent, getSendError, isOutputStillPresent and
    getOutputSerial are the operations called off the message thread: the protocol thread
    sends through the interface.
*/
class InterfaceBaseClass : public juce::Component,
                           public juce::ChangeBroadcaster
{
public:
    InterfaceBaseClass() = default;
    ~InterfaceBaseClass() override = default;

    /** Every interface lays out its own selectors. */
    void resized() override = 0;

    /** Copies up to maxBytes received bytes, oldest first; returns how many were copied. */
    // Kept although the app never opens an input: a protocol that reads the pedal's replies needs it.
    virtual int readBytes (juce::uint8* destination, unsigned int maxBytes) = 0;

    static constexpr int sendFailed = -1;

    /** Sends one whole message and returns once the port has taken it. Returns 0 when it
        has, sendFailed when no port is open, the port refused the bytes or the device has
        gone; getSendError() then says why. */
    virtual int sendBytes (const juce::uint8* data, int numBytes) = 0;

    /** As sendBytes, but only to the output port that getOutputSerial() named as
        outputSerial: a port changed since then gets nothing, and the send fails. The check
        and the send are one step, so not one message can reach a newly chosen port. */
    virtual int sendBytesTo (int outputSerial, const juce::uint8* data, int numBytes) = 0;

    /** Why the last failed send failed, in words for the user ("the device was
        disconnected"). Called on the thread that sent. */
    virtual juce::String getSendError() = 0;

    /** Returns once the output port named by outputSerial has sent every byte handed to
        it. Returns 0 then, and sendFailed like sendBytesTo when the port failed, was
        changed, or an exit request cut the wait short. A transfer waits on it before it
        reports completion. */
    virtual int waitUntilSent (int outputSerial) = 0;

    /** Whether the open output port is still in the system's port list. Some ports report
        no errors when sent to, so a device lost during a transfer shows only here; a
        transfer asks before its last message. */
    virtual bool isOutputStillPresent() = 0;

    /** Changes whenever the output port is opened, replaced or closed. A transfer, whose
        bytes must all reach one device, sends only to the port it started with. */
    virtual int getOutputSerial() = 0;

    /** Makes the chosen output ready for a new transfer, on the message thread, without
        waiting for the device: a port that failed, or whose device has come back with a new
        identity (plugged in again), is opened afresh. Fails, with a reason for the user,
        when no output is chosen or it cannot be opened. */
    virtual juce::Result prepareOutput() = 0;

    /** Why the chosen output is not open (empty when it is, or when none is chosen). */
    virtual juce::String getOutputError() = 0;

    virtual bool isConnected() = 0;
    virtual int getPreferredHeight() = 0;

    /** Chooses a port by item id: 1 to n for the ports now listed, n + 1 for none. */
    virtual void selectOutputDevice (int itemId) = 0;
    // Kept for the same input path; the app builds its interface with the output direction only.
    virtual void selectInputDevice (int itemId) = 0;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InterfaceBaseClass)
};
