#pragma once

#include "ExitAwareMessageLock.h"
#include "ProtocolBaseClass.h"
#include "QuillonTime.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

//==============================================================================
/**
    Sends a firmware image, a run of complete SysEx messages, one whole message at a time
    and in image order, through the interface.

    A transfer that cannot go on (no port open, a send that fails, a device that has gone
    by the end) stops there with the status "Update failed: " and the reason, the progress
    where it stopped and the interface enabled again; only a transfer that handed every
    byte to a port that is still there reports "Update completed".

    The image is cut at its F0 and F7 bytes in place, never copied. The transfer completes
    only once every byte has been handed over and the device has taken it; an image that
    holds anything but complete messages fails where the damage begins.
*/
class BasicSysexProtocolClass final : public ProtocolBaseClass,
                                      public QuillonTime,
                                      private juce::ComponentListener
{
public:
    BasicSysexProtocolClass (InterfaceBaseClass* midiInterface, FirmwareImage* firmwareImage);
    ~BasicSysexProtocolClass() override;

    /** Idle, or ended with an outcome: resets the progress and starts a new transfer from
        the first message. Running: resets a completed progress, and otherwise changes
        nothing. Message thread only. */
    void startProtocol() override;

    void run() override;

    /** Waits until the current (or last) run has finished its work: completed, failed or
        stopped. The thread itself ends a moment later. False when timeoutMs ran out. */
    bool waitForTransferToEnd (int timeoutMs);

    /** Ends, as failed with this reason, an update that could not start (no output to send
        to, an output that cannot be opened). Message thread; ignored while a transfer runs. */
    void reportFailure (const juce::String& reason);

    /** A transfer is under way and has not yet ended: neither completed, failed, nor
        stopped. Message thread. */
    bool isTransferRunning() const { return isThreadRunning() && getOutcome() == Outcome::none; }

private:
    double getTransferProgress() const;
    void setTransferProgress (double fraction);
    void setInterfaceEnabled (bool shouldBeEnabled);
    void finishTransfer();
    void failTransfer (const juce::String& reason);
    void componentEnablementChanged (juce::Component& component) override;

    /** Guards transferProgress; never held while sending or notifying. */
    juce::CriticalSection ProgressValueLock;
    double transferProgress = 0.0; // unrounded fraction of the image handed over

    // The interface's enabled state as last set on the message thread or under its lock,
    // so that the protocol thread takes that lock only to change it.
    std::atomic<bool> interfaceEnabled { true };

    ExitAwareMessageLock messageLock; // for the interface's enabled state
    juce::WaitableEvent transferEnded { true };
    int outputAtStart = 0; // the interface's output serial when the run began; protocol thread only

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BasicSysexProtocolClass)
};
