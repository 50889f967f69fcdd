#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/**
    A help window: created hidden, in the program's window colours; its close button
    only hides it, so the owner can show it again as it was.
*/
class HelpWindowbaseClass : public juce::DocumentWindow
{
public:
    HelpWindowbaseClass();
    ~HelpWindowbaseClass() override;

    void closeButtonPressed() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HelpWindowbaseClass)
};
