#include "EchoingAlertPresenter.h"

EchoingAlertPresenter::EchoingAlertPresenter (AlertPresenter& presenterToWrap, std::ostream& logToWriteTo)
    : wrapped (presenterToWrap),
      log (logToWriteTo)
{
}

void EchoingAlertPresenter::showMessageBox (juce::MessageBoxIconType,
                                            const juce::String& title,
                                            const juce::String& message)
{
    log << toOneLine (title, message).toStdString() << std::endl;
}

juce::String EchoingAlertPresenter::toOneLine (const juce::String& title, const juce::String& message)
{
    auto lines = juce::StringArray::fromLines (message);
    lines.trim();
    lines.removeEmptyStrings();
    const auto text = lines.joinIntoString (" ");

    return title.trim().isEmpty() ? text : title.trim() + ": " + text;
}
