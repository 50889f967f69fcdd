#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/**
    Puts a component on the desktop, inside a plain holder, for as long as it lives, so
    that tests can give the component keyboard focus.

    Outside a standalone application JUCE leaves Xlib's default error handler in place,
    which ends the process on any protocol error. JUCE 7.0.5 provokes one on an X server
    without a window manager (it sets a window-type property whose atom does not exist
    there), so the holder first installs a handler that ignores errors, as JUCE's own
    handler does in an application.
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
