#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "MainWindow.h"

//==============================================================================
/**
    Firmhold: one instance at a time, one main window.
*/
class Application final : public juce::JUCEApplication
{
public:
    Application() = default;

    // Both come from the build (the top-level CMakeLists.txt).
    const juce::String getApplicationName() override { return JUCE_APPLICATION_NAME_STRING; }
    const juce::String getApplicationVersion() override { return JUCE_APPLICATION_VERSION_STRING; }
    bool moreThanOneInstanceAllowed() override { return false; }

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted (const juce::String&) override {}

    MainWindow* getMainWindow() const noexcept { return mainWindow.get(); }

private:
    std::unique_ptr<MainWindow> mainWindow;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Application)
};
