#include "UnattendedAlertPresenter.h"

UnattendedAlertPresenter::UnattendedAlertPresenter (AlertPresenter& presenterToWrap)
    : wrapped (presenterToWrap)
{
}

void UnattendedAlertPresenter::showMessageBox (juce::MessageBoxIconType, const juce::String&, const juce::String&)
{
}
