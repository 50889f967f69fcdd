#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class ContentComp;
class FirmwareImage;

//==============================================================================
/**
    The program's only top-level window: the update panel in a fixed 650 x 400 frame,
    titled after the firmware it will install. Closing it stops a running transfer
    and quits.
*/
class MainWindow final : public juce::DocumentWindow
{
public:
    explicit MainWindow (juce::String commandLine);
    ~MainWindow() override;

    void closeButtonPressed() override;

    ContentComp* getContentComp() const noexcept { return contentComp; }

    /** name + " version " + version, then " - R" + revision unless the revision is 0. */
    static juce::String titleFor (const FirmwareImage& image);

private:
    ContentComp* contentComp = nullptr;  // owned by the window as its content component

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
};
