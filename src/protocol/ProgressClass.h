#pragma once

#include "ExitAwareMessageLock.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <mutex>

//==============================================================================
/**
    What a running protocol publishes: a progress value in hundredths and a status text.

    Progress changes reach the listeners synchronously, under the message-manager lock,
    so that a listener may touch components; status-text changes arrive asynchronously on
    the message thread. Listeners are given this broadcaster; for a protocol that is the
    protocol object itself.

    Both values may be written on the protocol thread while the message thread reads them.
*/
class ProgressClass : public juce::ChangeBroadcaster
{
public:
    ProgressClass() = default;
    ~ProgressClass() override = default;

    /** Publishes newProgress rounded to hundredths (ties to even) and, when that differs
        from the published value, tells the listeners before returning. Called on a
        juce::Thread, the message-manager lock is not waited for once the thread has been
        asked to exit, and the listeners are then not told. */
    void setProgress (double newProgress);
    double getProgress() const noexcept { return progress.load(); }

    /** Stores newText and, when it differs from the current text, tells the listeners later
        on the message thread. */
    void setStatusText (const juce::String& newText);
    juce::String getStatusText() const;

private:
    void sendSynchronousChangeMessageUnderLock();

    ExitAwareMessageLock messageLock;
    mutable std::mutex statusTextLock; // never held while listeners run
    juce::String statusText;
    std::atomic<double> progress { 0.0 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProgressClass)
};
