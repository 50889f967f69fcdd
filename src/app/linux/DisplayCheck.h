#pragma once

#include <juce_core/juce_core.h>

//==============================================================================
/**
    Whether the windows can be shown at all. The framework takes a display for granted and
    crashes without one (a plain SSH session, a container), so the program asks first.
*/
class DisplayCheck final
{
public:
    /** Empty when a display can be opened; otherwise one line for the user saying that a
        graphical display is needed and which one was tried. */
    static juce::String findProblem();

private:
    DisplayCheck() = delete;
};
