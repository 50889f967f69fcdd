#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <ostream>

//==============================================================================
/**
    The part of the process entry that is the same on every platform. Each platform's
    entry (linux/, windows/, mac/Main.cpp) reads the command line its own way, then asks
    this class what to do with it.
*/
class Startup final
{
public:
    /** What needs no window is done here, before the framework's runner starts, so it needs
        no display and is not swallowed by the single-instance rule: with --list-outputs
        the ports are written to out. Returns the exit status when the program ends here. */
    static std::optional<int> runWithoutWindow (const juce::String& commandLine, std::ostream& out);

    /** Makes the framework's runner create Firmhold with this command line, in place of the
        framework's own rendering of the arguments. */
    static void prepareApplication (juce::String commandLine);

private:
    Startup() = delete;
};
