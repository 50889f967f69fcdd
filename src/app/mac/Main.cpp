#include "app/Startup.h"
#include "common/CommandLineOptions.h"

#include <iostream>
#include <juce_events/juce_events.h>

// The desktop is always there when the program can be started at all.
extern "C" JUCE_MAIN_FUNCTION
{
    const auto commandLine = CommandLineOptions::fromArguments (argc, argv);

    if (const auto status = Startup::runWithoutWindow (commandLine, std::cout))
        return *status;

    Startup::prepareApplication (commandLine);
    return juce::JUCEApplicationBase::main (JUCE_MAIN_FUNCTION_ARGS);
}
