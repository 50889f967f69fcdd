#pragma once

#include <juce_core/juce_core.h>

#include <ostream>

//==============================================================================
/**
    What --list-outputs prints: every MIDI output port, one a line, as its number, a tab
    and its name. The number is the one --outputid takes, because the ports come from the
    same list, in the same order, as the output selector's.
*/
class OutputLister final
{
public:
    /** Writes the lines (UTF-8) to out; nothing at all when there is no output port. */
    static void write (std::ostream& out);

private:
    OutputLister() = delete;
};
