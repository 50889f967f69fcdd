#pragma once

#include "AlertPresenter.h"

//==============================================================================
/** The default presenter: a modal AlertWindow with the framework's "ok" button. */
class JuceAlertPresenter final : public AlertPresenter
{
public:
    JuceAlertPresenter() = default;

    void showMessageBox (juce::MessageBoxIconType icon,
                         const juce::String& title,
                         const juce::String& message) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (JuceAlertPresenter)
};
