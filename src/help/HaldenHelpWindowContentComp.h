#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/** The help window's content: the update procedure as read-only, word-wrapped text. */
class HaldenHelpWindowContentComp final : public juce::Component
{
public:
    static const char* const helpText;

    HaldenHelpWindowContentComp();
    ~HaldenHelpWindowContentComp() override;

    void resized() override;

    juce::TextEditor& getHelpTextEditor() noexcept { return *helpTextEditor; }

private:
    juce::TooltipWindow tooltipWindow { this, 700 };   // tips of this window only: one tip, one window
    std::unique_ptr<juce::TextEditor> helpTextEditor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HaldenHelpWindowContentComp)
};
