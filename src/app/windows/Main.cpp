#include "ParentConsole.h"
#include "WineRepaintPump.h"
#include "app/Startup.h"

#include <iostream>
#include <juce_events/juce_events.h>

namespace
{
    juce::JUCEApplicationBase* (*createFirmhold)() = nullptr;

    /** The runner creates the application once the message thread is set up, which the
        pump's timer needs. */
    juce::JUCEApplicationBase* createWithRepaintPump()
    {
        WineRepaintPump::startIfUnderWine();
        return createFirmhold();
    }
} // namespace

extern "C" JUCE_MAIN_FUNCTION
{
    ParentConsole::connectStandardStreams();

    // The framework reads the wide command line: already the user's own text.
    const auto commandLine = juce::JUCEApplicationBase::getCommandLineParameters();

    if (const auto status = Startup::runWithoutWindow (commandLine, std::cout))
        return *status;

    Startup::prepareApplication (commandLine);
    createFirmhold = juce::JUCEApplicationBase::createInstance;
    juce::JUCEApplicationBase::createInstance = &createWithRepaintPump;

    return juce::JUCEApplicationBase::main (JUCE_MAIN_FUNCTION_ARGS);
}
