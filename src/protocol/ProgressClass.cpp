#include "ProgressClass.h"

void ProgressClass::setProgress (double newProgress)
{
    const auto rounded = juce::roundToInt (newProgress * 100.0) / 100.0;

    if (progress.exchange (rounded) != rounded)
        sendSynchronousChangeMessageUnderLock();
}

void ProgressClass::sendSynchronousChangeMessageUnderLock()
{
    // A protocol thread that is being stopped must not wait for the message thread: the
    // message thread may be the one waiting for it to end.
    messageLock.callWhileLocked ([this] { sendSynchronousChangeMessage(); });
}

void ProgressClass::setStatusText (const juce::String& newText)
{
    {
        const std::lock_guard<std::mutex> lock (statusTextLock);

        if (statusText == newText)
            return;

        statusText = newText;
    }

    sendChangeMessage();
}

juce::String ProgressClass::getStatusText() const
{
    const std::lock_guard<std::mutex> lock (statusTextLock);
    return statusText;
}
