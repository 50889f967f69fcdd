#include "Application.h"
#include "common/AutoUpdate.h"
#include "common/CommandLineOptions.h"
#include "panel/ContentComp.h"

#include <iostream>

Application::Application (juce::String commandLineToUse)
    : commandLine (std::move (commandLineToUse))
{
}

void Application::initialise (const juce::String&)
{
    // Unattended, nobody may be there to read a box: its text goes to the log as well.
    if (CommandLineOptions::parse (commandLine).autoUpdate)
    {
        alertEcho = std::make_unique<EchoingAlertPresenter> (AlertPresenter::getCurrent(), std::cerr);
        AlertPresenter::setCurrent (alertEcho.get());
    }

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

    if (alertEcho != nullptr)
    {
        AlertPresenter::setCurrent (&alertEcho->getWrapped());
        alertEcho = nullptr;
    }
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
