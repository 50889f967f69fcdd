#include "BasicSysexProtocolClass.h"
#include "common/AutoUpdate.h"
#include "firmware/FirmwareImage.h"
#include "firmware/SysexFormat.h"
#include "midi/InterfaceBaseClass.h"

#include <algorithm>

namespace
{
    /** The length of the complete message (F0 to the first F7) at messageStart, or 0 when
        none begins there. Never reads beyond end. */
    juce::uint32 completeMessageLength (const juce::uint8* messageStart, const juce::uint8* end) noexcept
    {
        if (messageStart == end || *messageStart != SysexFormat::sysexStart)
            return 0;

        const auto* const messageEnd = std::find (messageStart + 1, end, SysexFormat::sysexEnd);
        return messageEnd == end ? 0 : (juce::uint32) (messageEnd - messageStart + 1);
    }
} // namespace

//==============================================================================
BasicSysexProtocolClass::BasicSysexProtocolClass (InterfaceBaseClass* midiInterfaceToUse, FirmwareImage* firmwareImageToSend)
    : ProtocolBaseClass (midiInterfaceToUse, firmwareImageToSend)
{
    interfaceEnabled = midiInterface->isEnabled();
    midiInterface->addComponentListener (this);
    transferEnded.signal();
}

BasicSysexProtocolClass::~BasicSysexProtocolClass()
{
    // Never ended by force: a thread killed inside a send would leave the port's lock held
    // for ever. Every port's send and wait give way to the exit request within moments.
    signalThreadShouldExit();
    waitForThreadToExit (-1);
    midiInterface->removeComponentListener (this);
}

void BasicSysexProtocolClass::startProtocol()
{
    // A transfer with an outcome is over, but its thread may still be on its last steps
    // (the interface's last change waits for this, the message, thread). Those steps give
    // way to an exit request: end the thread, so that the press starts the next transfer
    // instead of finding the old one running and starting nothing.
    if (isThreadRunning() && getOutcome() != Outcome::none)
    {
        signalThreadShouldExit();
        waitForThreadToExit (2000);
    }

    if (! isThreadRunning())
    {
        setOutcome (Outcome::none);
        setTransferProgress (0.0);
        setProgress (0.0);
        transferEnded.reset();
        startThread();
        return;
    }

    bool wasReset = false;

    {
        const juce::ScopedLock lock (ProgressValueLock);

        if (transferProgress == 1.0)
        {
            transferProgress = 0.0;
            wasReset = true;
        }
    }

    if (wasReset)
        setProgress (0.0);
}

bool BasicSysexProtocolClass::waitForTransferToEnd (int timeoutMs)
{
    return transferEnded.wait (timeoutMs);
}

//==============================================================================
void BasicSysexProtocolClass::run()
{
    const auto* const imageStart = firmwareImage->getData();
    const auto total = imageStart != nullptr ? (juce::uint32) firmwareImage->getSize() : 0u;
    const auto* const imageEnd = imageStart + total;
    const auto* messageStart = imageStart;
    juce::uint32 bytesSent = 0;

    setStatusText ("Uploading firmware");
    auto fraction = getTransferProgress();
    bool failed = false;
    outputAtStart = midiInterface->getOutputSerial();

    while (fraction != 1.0 && ! threadShouldExit())
    {
        // Checked every pass, not once: the panel may enable the interface again while we
        // send. The message-manager lock is taken only when that has happened.
        if (interfaceEnabled)
            setInterfaceEnabled (false);

        const auto messageLength = completeMessageLength (messageStart, imageEnd);

        // Nothing complete to send will ever turn up here: a damaged image, which must not
        // reach the pedal in part as if it were whole.
        if (messageLength == 0)
        {
            failed = true;
            failTransfer (total == 0 ? juce::String ("the firmware image is empty")
                                     : "the firmware image is damaged at byte " + juce::String (bytesSent)
                                           + " (no complete SysEx message starts there)");
            break;
        }

        // Some ports take bytes without a word about a device that has gone; the port list
        // still tells. Asked before the last message, not after it: a pedal restarts, and
        // leaves the list, the moment it has its whole image.
        if (messageStart + messageLength == imageEnd && ! midiInterface->isOutputStillPresent())
        {
            failed = true;
            failTransfer ("the device was disconnected");
            break;
        }

        // The whole image must reach the device its first byte went to: a send to any other
        // port fails.
        if (midiInterface->sendBytesTo (outputAtStart, messageStart, (int) messageLength) != 0)
        {
            // A send that an exit request cut short is a stop, not a failure.
            failed = ! threadShouldExit();

            if (failed)
                failTransfer (midiInterface->getSendError());

            break;
        }

        messageStart += messageLength;
        bytesSent += messageLength;
        fraction = (double) bytesSent / (double) total;
        setProgress (fraction);
        setTransferProgress (fraction);
    }

    if (! failed && ! threadShouldExit())
        finishTransfer();

    transferEnded.signal();
}

void BasicSysexProtocolClass::finishTransfer()
{
    if (midiInterface->waitUntilSent (outputAtStart) != 0)
    {
        // An exit request during the last wait is a stop, like one between messages.
        if (! threadShouldExit())
            failTransfer (midiInterface->getSendError());

        return;
    }

    setOutcome (Outcome::completed);
    setStatusText ("Update completed");
    setInterfaceEnabled (true);

    if (autoUpdate)
        if (auto* application = juce::JUCEApplicationBase::getInstance())
            application->systemRequestedQuit();
}

void BasicSysexProtocolClass::reportFailure (const juce::String& reason)
{
    if (! isThreadRunning())
        failTransfer (reason);
}

void BasicSysexProtocolClass::failTransfer (const juce::String& reason)
{
    // The progress stays where the transfer stopped. A new start sends the whole image
    // again from its first byte.
    setInterfaceEnabled (true);
    setOutcome (Outcome::failed);
    setStatusText ("Update failed: " + reason);
}

//==============================================================================
double BasicSysexProtocolClass::getTransferProgress() const
{
    const juce::ScopedLock lock (ProgressValueLock);
    return transferProgress;
}

void BasicSysexProtocolClass::setTransferProgress (double fraction)
{
    const juce::ScopedLock lock (ProgressValueLock);
    transferProgress = fraction;
}

void BasicSysexProtocolClass::setInterfaceEnabled (bool shouldBeEnabled)
{
    // Gives up once the thread is asked to exit, so a message thread waiting for it to end
    // is never blocked by it.
    messageLock.callWhileLocked ([this, shouldBeEnabled] { midiInterface->setEnabled (shouldBeEnabled); });
}

void BasicSysexProtocolClass::componentEnablementChanged (juce::Component& component)
{
    // On the message thread, or on ours under the message-manager lock.
    interfaceEnabled = component.isEnabled();
}
