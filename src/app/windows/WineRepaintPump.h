#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/**
    Keeps the windows drawing under Wine.

    The framework's Windows peer holds a component's repaints back until the display's next
    vertical blank, which a thread of its own waits for with IDXGIOutput::WaitForVBlank.
    Wine does not implement that wait, so no blank ever comes and a window shows only what
    the system asks it to redraw: a progress bar stays at 0 % for a whole transfer. Under
    Wine this timer hands each window's held-back repaints over itself, about as often as a
    display refreshes. On Windows it is never started.
*/
class WineRepaintPump final : private juce::Timer,
                              private juce::DeletedAtShutdown
{
public:
    /** Starts the pump when the program runs under Wine; message thread. */
    static void startIfUnderWine();

    static bool isRunningUnderWine();

    static constexpr int intervalMs = 30;

private:
    WineRepaintPump();
    ~WineRepaintPump() override;

    void timerCallback() override;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WineRepaintPump)
};
