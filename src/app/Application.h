#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "EchoingAlertPresenter.h"
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
    /** commandLine: the program's arguments as one text (CommandLineOptions::fromArguments),
        used in place of the framework's own rendering of them. */
    explicit Application (juce::String commandLine);

    // Both come from the build (the top-level CMakeLists.txt).
    const juce::String getApplicationName() override { return JUCE_APPLICATION_NAME_STRING; }
    const juce::String getApplicationVersion() override { return JUCE_APPLICATION_VERSION_STRING; }
    bool moreThanOneInstanceAllowed() override { return false; }

    void initialise (const juce::String& frameworkCommandLine) override;
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

    const juce::String commandLine;
    std::unique_ptr<EchoingAlertPresenter> alertEcho;
    bool failureReported = false;

    std::unique_ptr<MainWindow> mainWindow;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Application)
};
