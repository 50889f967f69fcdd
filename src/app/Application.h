#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "InstanceHandover.h"
#include "MainWindow.h"
#include "QuitSignals.h"
#include "UnattendedAlertPresenter.h"

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
    /** Also where a start that the single-instance rule refused ends (without initialise):
        unattended, it ends with updateFailed and alreadyRunningReason. */
    void shutdown() override;

    /** A later start without --autoupdate brings the window to the front; an unattended one
        leaves it alone (it ends with a failure of its own). */
    void anotherInstanceStarted (const juce::String& otherCommandLine) override;

    /** What a request to quit from outside does (a signal, the console closed): the same
        as the main window's close button. */
    void quitAsTheCloseButtonDoes();

    MainWindow* getMainWindow() const noexcept { return mainWindow.get(); }

    static constexpr const char* alreadyRunningReason = "Firmhold is already running (close it and try again)";

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
    std::unique_ptr<UnattendedAlertPresenter> unattendedAlerts;
    std::unique_ptr<QuitSignals> quitSignals;
    std::unique_ptr<InstanceHandover> laterStarts;
    bool initialised = false;
    bool failureReported = false;

    std::unique_ptr<MainWindow> mainWindow;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Application)
};
