#pragma once

#include "HelpWindowbaseClass.h"

//==============================================================================
/** The "Firmware Update Help" window with the update procedure. */
class HaldenHelpWindowClass final : public HelpWindowbaseClass
{
public:
    HaldenHelpWindowClass();
    ~HaldenHelpWindowClass() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HaldenHelpWindowClass)
};
