#pragma once

#include "ProgressClass.h"

#include <atomic>

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

    /** How the last transfer ended: none while it runs (or was stopped on request),
        completed once every byte has gone out, failed when it could not go on. Set before
        the status text that tells of it, so a listener told of that text sees it. */
    enum class Outcome
    {
        none,
        completed,
        failed
    };

    Outcome getOutcome() const noexcept { return outcome.load(); }

protected:
    void setOutcome (Outcome newOutcome) noexcept { outcome = newOutcome; }

    InterfaceBaseClass* const midiInterface;
    FirmwareImage* const firmwareImage;

private:
    std::atomic<Outcome> outcome { Outcome::none };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProtocolBaseClass)
};
