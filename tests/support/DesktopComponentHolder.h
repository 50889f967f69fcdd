#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/**
    Puts a component on the desktop, inside a plain holder, for as long as it lives, so
    that tests can give the component keyboard focus.
*/
class DesktopComponentHolder final
{
public:
    explicit DesktopComponentHolder (juce::Component& component, juce::Rectangle<int> bounds = { 0, 0, 700, 200 });
    ~DesktopComponentHolder();

private:
    juce::Component holder;
    juce::Component& component;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DesktopComponentHolder)
};
