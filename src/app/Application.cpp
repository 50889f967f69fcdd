#include "Application.h"
#include "common/CommandLineOptions.h"

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
}

void Application::shutdown()
{
    mainWindow = nullptr;

    if (alertEcho != nullptr)
    {
        AlertPresenter::setCurrent (&alertEcho->getWrapped());
        alertEcho = nullptr;
    }
}
