#pragma once

#include "common/AlertPresenter.h"

//==============================================================================
/**
    Stands in for the message boxes of an unattended run ("--autoupdate"): it shows none,
    because nobody is there to answer one and a box would hold the run for ever, and it
    writes none either. Every box such a run can meet (a refused firmware file, no port at
    the number asked for) comes before a failed update, and the failure's one line on
    standard error ("Update failed: " and the reason) is the report; the boxes' own text
    would say it twice, and the file boxes promise the built-in image, which an unattended
    run never sends in place of the file it was given. The presenter it stands in for is
    kept, to be put back when the run ends.
*/
class UnattendedAlertPresenter final : public AlertPresenter
{
public:
    explicit UnattendedAlertPresenter (AlertPresenter& presenterToWrap);

    void showMessageBox (juce::MessageBoxIconType icon,
                         const juce::String& title,
                         const juce::String& message) override;

    AlertPresenter& getWrapped() const noexcept { return wrapped; }

private:
    AlertPresenter& wrapped;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UnattendedAlertPresenter)
};
