#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/**
    Where the program's modal message boxes go.

    Everything that tells the user something calls AlertPresenter::getCurrent(); the
    default shows a framework message box and blocks until it is closed. Tests install
    their own presenter so that they can see what would have been shown and never wait
    on a modal box.
*/
class AlertPresenter
{
public:
    virtual ~AlertPresenter() = default;

    /** Shows a message box with the single default button and returns when it is closed. */
    virtual void showMessageBox (juce::MessageBoxIconType icon,
                                 const juce::String& title,
                                 const juce::String& message) = 0;

    /** The presenter in force: the one last installed, or the framework-backed default. */
    static AlertPresenter& getCurrent();

    /** Installs a presenter (not owned); nullptr restores the default. Message thread only. */
    static void setCurrent (AlertPresenter* newPresenter);
};
