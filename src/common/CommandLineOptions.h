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
        --list-outputs     print the output ports with their numbers and quit
*/
class CommandLineOptions final
{
public:
    bool hasFile = false;
    juce::String fileName;
    bool autoUpdate = false;
    int outputId = 1;
    bool outputIdValid = true; // false: --outputid given without a number from 1 up
    bool listOutputs = false;

    static CommandLineOptions parse (const juce::String& commandLine);

    /** The command line as the program's arguments give it (argv[0] is left out): each
        argument decoded as UTF-8, one containing a blank put in double quotes unless it
        already is, all joined by single blanks. An argument that is not valid UTF-8 is
        taken one byte per character, so that what the user typed still shows. */
    static juce::String fromArguments (int argc, const char* const* argv);

    /** True if text (NUL-terminated) is well-formed UTF-8: no overlong forms, no
        surrogates, nothing above U+10FFFF, no cut sequence. */
    static bool isWellFormedUtf8 (const char* text);

    /** True if option occurs with no letter or digit touching it on either side. */
    static bool containsWholeWord (const juce::String& text, const juce::String& option);

    /** Reads text the way wcstol does (leading blanks, a sign, decimal digits); 0 without digits. */
    static long readLeadingInteger (const juce::String& text);

    /** text without its enclosing double quotes when it is exactly one quoted string
        ("..." with no quote inside); otherwise text unchanged. */
    static juce::String withoutEnclosingQuotes (const juce::String& text);
};
