#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "firmware/FirmwareImage.h"

//==============================================================================
/**
    The update panel: the main window's content.
*/
class ContentComp final : public juce::Component
{
public:
    explicit ContentComp (juce::String commandLine);
    ~ContentComp() override;

    FirmwareImage* getFirmwareImage() const noexcept { return firmwareImage.get(); }

    bool loadFirmwareFile (const juce::String& path);

private:
    std::unique_ptr<FirmwareImage> firmwareImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ContentComp)
};
