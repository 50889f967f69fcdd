#include "Application.h"
#include "AutoUpdate.h"
#include "panel/ContentComp.h"

#include <iostream>

void Application::initialise (const juce::String& commandLine)
{
    mainWindow = std::make_unique<MainWindow> (commandLine);
    mainWindow->centreWithSize (650, 400);
    mainWindow->setVisible (true);
    mainWindow->setResizeLimits (650, 400, 650, 400);

    // Unattended, the exit status is the report: 0 only once the update has completed.
    if (autoUpdate)
    {
        setApplicationReturnValue (endedBeforeCompletion);

        if (auto* protocol = getProtocol())
            protocol->addChangeListener (this);
    }
}

void Application::shutdown()
{
    if (auto* protocol = getProtocol(); protocol != nullptr && autoUpdate)
    {
        protocol->removeChangeListener (this);

        if (protocol->getOutcome() == ProtocolBaseClass::Outcome::completed)
            setApplicationReturnValue (updateCompleted);
    }

    mainWindow = nullptr;
}

BasicSysexProtocolClass* Application::getProtocol() const
{
    if (mainWindow != nullptr)
        if (auto* content = mainWindow->getContentComp())
            return content->getProtocol();

    return nullptr;
}

void Application::changeListenerCallback (juce::ChangeBroadcaster*)
{
    // A failed automatic update ends the program with its reason; nobody is there to read
    // the window. (Runs on the message thread, or on the protocol thread under the
    // message-manager lock.)
    auto* protocol = getProtocol();

    if (protocol == nullptr || failureReported || protocol->getOutcome() != ProtocolBaseClass::Outcome::failed)
        return;

    // The outcome is set just before its status text; that text's own message follows.
    const auto status = protocol->getStatusText();

    if (! status.startsWith ("Update failed"))
        return;

    failureReported = true;
    std::cerr << status << std::endl;
    setApplicationReturnValue (updateFailed);
    quit();
}
