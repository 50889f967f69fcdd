#pragma once

#include <juce_core/juce_core.h>

//==============================================================================
/**
    Files that a firmware file check must refuse, made the way the system under test
    allows. Each returns a null File where the system has no such file to make.
*/
namespace UnusualFiles
{
    /** A named pipe in dir: opening it for reading waits for a writer. */
    juce::File makePipe (const juce::File& dir);

    /** A file that exists but that this process may not open for reading. */
    juce::File makeUnreadable (const juce::File& dir);
} // namespace UnusualFiles
