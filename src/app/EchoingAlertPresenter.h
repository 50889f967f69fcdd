#pragma once

#include "common/AlertPresenter.h"

#include <ostream>

//==============================================================================
/**
    Writes every message box's text as one line to a stream (standard error in an
    unattended run) instead of showing the box: nobody is there to answer it, and a box
    would hold the run for ever. The run's log says why it stopped. The presenter it
    stands in for is kept, to be put back when the run ends.
*/
class EchoingAlertPresenter final : public AlertPresenter
{
public:
    EchoingAlertPresenter (AlertPresenter& presenterToWrap, std::ostream& log);

    void showMessageBox (juce::MessageBoxIconType icon,
                         const juce::String& title,
                         const juce::String& message) override;

    AlertPresenter& getWrapped() const noexcept { return wrapped; }

    /** title and message as one line: "title: message", the message's lines joined by
        blanks; the message alone when there is no title. */
    static juce::String toOneLine (const juce::String& title, const juce::String& message);

private:
    AlertPresenter& wrapped;
    std::ostream& log;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EchoingAlertPresenter)
};
