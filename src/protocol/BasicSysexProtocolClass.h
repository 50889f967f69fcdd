#pragma once

#include "ProtocolBaseClass.h"
#include "QuillonTime.h"

//==============================================================================
/**
    Sends a firmware image, a run of complete SysEx messages, one whole message at a time
    and in image order, through the interface.

    The image is cut at its F0 and F7 bytes in place, never copied. The transfer completes
    only once every byte has been handed over; an image that holds anything but complete
    messages therefore never completes, and the thread waits until it is asked to exit.
*/
class BasicSysexProtocolClass final : public ProtocolBaseClass,
                                      public QuillonTime
{
public:
    BasicSysexProtocolClass (InterfaceBaseClass* midiInterface, FirmwareImage* firmwareImage);
    ~BasicSysexProtocolClass() override;

    /** Idle: resets the progress and starts a new transfer from the first message. Running:
        resets a completed progress, and otherwise changes nothing. Message thread only. */
    void startProtocol() override;

    void run() override;

    /** How long a pass that finds no complete message to send waits before looking again. */
    static constexpr int idlePassMilliseconds = 10;

private:
    double getTransferProgress() const;
    void setTransferProgress (double fraction);
    void setInterfaceEnabled (bool shouldBeEnabled);

    /** Guards transferProgress; never held while sending or notifying. */
    juce::CriticalSection ProgressValueLock;
    double transferProgress = 0.0; // unrounded fraction of the image handed over

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BasicSysexProtocolClass)
};
