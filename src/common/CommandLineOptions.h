#pragma once

#include <juce_core/juce_core.h>

//==============================================================================
/**
    What the command line asks for. Options are found by searching the whole text,
    ignoring case, never by splitting it into arguments; nothing is ever rejected.

        --file PATH        the rest of the line is the firmware file (so it comes last)
        --autoupdate       select the output and start the update without the user
        --outputid N       1-based output port, read only together with --autoupdate
        --inputid N        accepted, without effect
*/
class CommandLineOptions final
{
public:
    bool hasFile = false;
    juce::String fileName;
    bool autoUpdate = false;
    int outputId = 1;

    static CommandLineOptions parse (const juce::String& commandLine);

    /** True if option occurs with no letter or digit touching it on either side. */
    static bool containsWholeWord (const juce::String& text, const juce::String& option);

    /** Reads text the way wcstol does (leading blanks, a sign, decimal digits); 0 without digits. */
    static long readLeadingInteger (const juce::String& text);
};
