#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "MainWindow.h"

class BasicSysexProtocolClass;

//==============================================================================
/**
    Firmhold: one instance at a time, one main window.
*/
class Application final : public juce::JUCEApplication,
                          private juce::ChangeListener
{
public:
    Application() = default;

    const juce::String getApplicationName() override { return "Firmhold by Quillon"; }
    const juce::String getApplicationVersion() override { return "1.0"; }
    bool moreThanOneInstanceAllowed() override { return false; }

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted (const juce::String&) override {}

    MainWindow* getMainWindow() const noexcept { return mainWindow.get(); }

    /** Exit statuses of an automatic update ("--autoupdate"). */
    enum ExitStatus
    {
        updateCompleted = 0,
        updateFailed = 1,
        endedBeforeCompletion = 2
    };

private:
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    BasicSysexProtocolClass* getProtocol() const;

    bool failureReported = false;

    std::unique_ptr<MainWindow> mainWindow;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Application)
};
