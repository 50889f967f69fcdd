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
    initialised = true;

    // Unattended, nobody may be there to answer a box; the failure it stands before says
    // why on standard error.
    if (CommandLineOptions::parse (commandLine).autoUpdate)
    {
        unattendedAlerts = std::make_unique<UnattendedAlertPresenter> (AlertPresenter::getCurrent());
        AlertPresenter::setCurrent (unattendedAlerts.get());
    }

    quitSignals = std::make_unique<QuitSignals> ([this] { quitAsTheCloseButtonDoes(); });
    laterStarts = std::make_unique<InstanceHandover> (getApplicationName(),
                                                       [this] (const juce::String& line) { anotherInstanceStarted (line); });

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
    // The framework's runner shuts down without initialising in one case only: it found
    // another Firmhold holding the single-instance lock. An interactive start has handed
    // its command line over and is done; an unattended one has sent nothing and must not
    // end as if it had done its work.
    if (! initialised)
    {
        if (CommandLineOptions::parse (commandLine).autoUpdate)
        {
            std::cerr << "Update failed: " << alreadyRunningReason << std::endl;
            setApplicationReturnValue (updateFailed);
        }
        else
        {
            InstanceHandover::handOver (getApplicationName(), commandLine);
        }

        return;
    }

    laterStarts = nullptr;
    quitSignals = nullptr;

    if (auto* protocol = getProtocol(); protocol != nullptr && autoUpdate)
    {
        protocol->removeChangeListener (this);

        if (protocol->getOutcome() == ProtocolBaseClass::Outcome::completed)
            setApplicationReturnValue (updateCompleted);
    }

    mainWindow = nullptr;

    if (unattendedAlerts != nullptr)
    {
        AlertPresenter::setCurrent (&unattendedAlerts->getWrapped());
        unattendedAlerts = nullptr;
    }
}

void Application::anotherInstanceStarted (const juce::String& otherCommandLine)
{
    if (mainWindow == nullptr || CommandLineOptions::parse (otherCommandLine).autoUpdate)
        return;

    if (mainWindow->isMinimised())
        mainWindow->setMinimised (false);

    mainWindow->toFront (true);
}

void Application::quitAsTheCloseButtonDoes()
{
    // A request that comes while the window is still being made (a box of the panel's
    // start is open) finds no window yet: the quit alone then ends the start.
    if (mainWindow != nullptr)
        mainWindow->closeButtonPressed();
    else
        systemRequestedQuit();
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
