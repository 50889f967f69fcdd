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
}

BasicSysexProtocolClass::~BasicSysexProtocolClass()
{
    stopThread (2000);
}

void BasicSysexProtocolClass::startProtocol()
{
    if (! isThreadRunning())
    {
        setTransferProgress (0.0);
        setProgress (0.0);
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

    while (fraction != 1.0 && ! threadShouldExit())
    {
        // Every pass, not once: the panel may enable the interface again while we send.
        setInterfaceEnabled (false);

        const auto messageLength = completeMessageLength (messageStart, imageEnd);

        if (messageLength == 0)
        {
            // Nothing complete to send will ever turn up here; don't spin a core on it.
            wait (idlePassMilliseconds);
            continue;
        }

        midiInterface->sendBytes (messageStart, (int) messageLength);
        messageStart += messageLength;
        bytesSent += messageLength;
        fraction = (double) bytesSent / (double) total;
        setProgress (fraction);
        setTransferProgress (fraction);
    }

    if (threadShouldExit())
        return;

    setStatusText ("Update completed");
    setInterfaceEnabled (true);

    if (autoUpdate)
        if (auto* application = juce::JUCEApplicationBase::getInstance())
            application->systemRequestedQuit();
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
    const juce::MessageManagerLock lock (this);

    if (lock.lockWasGained())
        midiInterface->setEnabled (shouldBeEnabled);
}
