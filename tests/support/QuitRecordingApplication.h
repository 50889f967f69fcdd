#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

//==============================================================================
/**
    Stands in for the running application while it lives (the framework's instance is
    whichever application object exists), and records quit requests instead of quitting.
*/
class QuitRecordingApplication final : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "Firmhold tests"; }
    const juce::String getApplicationVersion() override { return "0"; }
    void initialise (const juce::String&) override {}
    void shutdown() override {}
    void systemRequestedQuit() override { ++quitRequests; }

    std::atomic<int> quitRequests { 0 };
};
