#pragma once

#include "ProgressClass.h"

class InterfaceBaseClass;
class FirmwareImage;

//==============================================================================
/**
    An update protocol: a thread named "Protocol Thread" that sends a firmware image through
    an interface and publishes its progress and status.

    The interface and the image are borrowed; both must outlive the protocol, and its
    thread must have ended before either is deleted.
*/
class ProtocolBaseClass : public juce::Thread,
                          public ProgressClass
{
public:
    ProtocolBaseClass (InterfaceBaseClass* midiInterface, FirmwareImage* firmwareImage);
    ~ProtocolBaseClass() override = default;

    /** Starts a transfer on an idle protocol; on a running one only resets a completed
        progress. Message thread only. */
    // Kept although the app only calls BasicSysexProtocolClass's override: it is the start every protocol inherits.
    virtual void startProtocol();

protected:
    InterfaceBaseClass* const midiInterface;
    FirmwareImage* const firmwareImage;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProtocolBaseClass)
};
