#include "Startup.h"
#include "Application.h"
#include "OutputLister.h"
#include "common/CommandLineOptions.h"

namespace
{
    juce::String applicationCommandLine;

    juce::JUCEApplicationBase* createApplication()
    {
        return new Application (applicationCommandLine);
    }
} // namespace

std::optional<int> Startup::runWithoutWindow (const juce::String& commandLine, std::ostream& out)
{
    if (CommandLineOptions::parse (commandLine).listOutputs)
    {
        OutputLister::write (out);
        return 0;
    }

    return std::nullopt;
}

void Startup::prepareApplication (juce::String commandLine)
{
    applicationCommandLine = std::move (commandLine);
    juce::JUCEApplicationBase::createInstance = &createApplication;
}
