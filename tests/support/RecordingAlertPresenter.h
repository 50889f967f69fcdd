#pragma once

#include "common/AlertPresenter.h"

//==============================================================================
/** Records the message boxes that would have been shown, for as long as it lives. */
class RecordingAlertPresenter final : public AlertPresenter
{
public:
    struct Alert
    {
        juce::MessageBoxIconType icon;
        juce::String title, message;
    };

    RecordingAlertPresenter() { AlertPresenter::setCurrent (this); }
    ~RecordingAlertPresenter() override { AlertPresenter::setCurrent (nullptr); }

    void showMessageBox (juce::MessageBoxIconType icon, const juce::String& title, const juce::String& message) override
    {
        alerts.push_back ({ icon, title, message });
    }

    std::vector<Alert> alerts;
};
