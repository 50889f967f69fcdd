#include "ParentConsole.h"
#include "WineRepaintPump.h"
#include "app/Startup.h"

#include <iostream>
#include <juce_events/juce_events.h>

extern "C" JUCE_MAIN_FUNCTION
{
    ParentConsole::connectStandardStreams();

    // The framework reads the wide command line: already the user's own text.
    const auto commandLine = juce::JUCEApplicationBase::getCommandLineParameters();

    if (const auto status = Startup::runWithoutWindow (commandLine, std::cout))
        return *status;

    Startup::prepareApplication (commandLine);

    // Started from the message loop, which the runner creates and runs.
    juce::MessageManager::getInstance();
    juce::MessageManager::callAsync ([] { WineRepaintPump::startIfUnderWine(); });

    return juce::JUCEApplicationBase::main (JUCE_MAIN_FUNCTION_ARGS);
}
