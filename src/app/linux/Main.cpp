#include "DisplayCheck.h"
#include "app/Startup.h"
#include "common/CommandLineOptions.h"

#include <iostream>
#include <juce_events/juce_events.h>

namespace
{
    /** The status of a start that found no display to show its windows on. */
    constexpr int noDisplayExitStatus = 3;
} // namespace

extern "C" JUCE_MAIN_FUNCTION
{
    const auto commandLine = CommandLineOptions::fromArguments (argc, argv);

    if (const auto status = Startup::runWithoutWindow (commandLine, std::cout))
        return *status;

    if (const auto problem = DisplayCheck::findProblem(); problem.isNotEmpty())
    {
        std::cerr << problem.toStdString() << std::endl;
        return noDisplayExitStatus;
    }

    Startup::prepareApplication (commandLine);
    return juce::JUCEApplicationBase::main (JUCE_MAIN_FUNCTION_ARGS);
}
