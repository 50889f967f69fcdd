#include "Application.h"
#include "common/CommandLineOptions.h"
#include "DisplayCheck.h"
#include "OutputLister.h"

#include <iostream>

namespace
{
    /** The status of a start that found no display to show its windows on. */
    constexpr int noDisplayExitStatus = 3;

    juce::String startupCommandLine;

    juce::JUCEApplicationBase* createApplication()
    {
        return new Application (startupCommandLine);
    }
} // namespace

// The process entry: what needs no window is done before the framework's runner starts,
// so it needs no display and is not swallowed by the single-instance rule.
extern "C" JUCE_MAIN_FUNCTION
{
   #if JUCE_WINDOWS
    // The framework reads the wide command line there: already the user's own text.
    startupCommandLine = juce::JUCEApplicationBase::getCommandLineParameters();
   #else
    startupCommandLine = CommandLineOptions::fromArguments (argc, argv);
   #endif

    if (CommandLineOptions::parse (startupCommandLine).listOutputs)
    {
        OutputLister::write (std::cout);
        return 0;
    }

    if (const auto problem = DisplayCheck::findProblem(); problem.isNotEmpty())
    {
        std::cerr << problem.toStdString() << std::endl;
        return noDisplayExitStatus;
    }

    juce::JUCEApplicationBase::createInstance = &createApplication;
    return juce::JUCEApplicationBase::main (JUCE_MAIN_FUNCTION_ARGS);
}
