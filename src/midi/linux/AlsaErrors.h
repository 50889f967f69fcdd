#pragma once

#include <juce_core/juce_core.h>

//==============================================================================
/** What a failed ALSA call means to the user whose transfer it ended. */
namespace AlsaErrors
{
    /** A short reason for a negative error code from ALSA ("the device was disconnected"). */
    juce::String describe (int errorCode);
} // namespace AlsaErrors
