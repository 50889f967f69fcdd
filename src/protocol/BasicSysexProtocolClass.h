#pragma once

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
    only once every byte has been handed over; an image that holds anything but complete
    messages therefore never completes, and the thread waits until it is asked to exit.
*/
class BasicSysexProtocolClass final : public ProtocolBaseClass,
                                      public QuillonTime,
                                      private juce::ComponentListener
{
public:
    BasicSysexProtocolClass (InterfaceBaseClass* midiInterface, FirmwareImage* firmwareImage);
    ~BasicSysexProtocolClass() override;

    /** Idle: resets the progress and starts a new transfer from the first message. Running:
        resets a completed progress, and otherwise changes nothing. Message thread only. */
    void startProtocol() override;

    void run() override;

    /** Waits until the current (or last) run has finished its work: completed, failed or
        stopped. The thread itself ends a moment later. False when timeoutMs ran out. */
    bool waitForTransferToEnd (int timeoutMs);

    /** How long a pass that finds no complete message to send waits before looking again. */
    static constexpr int idlePassMilliseconds = 10;

private:
    double getTransferProgress() const;
    void setTransferProgress (double fraction);
    void setInterfaceEnabled (bool shouldBeEnabled);
    void finishTransfer();
    void failTransfer (const juce::String& reason);
    bool outputWasChanged(); // fails the transfer when it was
    void componentEnablementChanged (juce::Component& component) override;

    /** Guards transferProgress; never held while sending or notifying. */
    juce::CriticalSection ProgressValueLock;
    double transferProgress = 0.0; // unrounded fraction of the image handed over

    // The interface's enabled state as last set on the message thread or under its lock,
    // so that the protocol thread takes that lock only to change it.
    std::atomic<bool> interfaceEnabled { true };

    juce::WaitableEvent transferEnded { true };
    int outputAtStart = 0; // the interface's output serial when the run began; protocol thread only

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BasicSysexProtocolClass)
};
