#include "AlsaErrors.h"

#include <alsa/asoundlib.h>

#include <cerrno>

juce::String AlsaErrors::describe (int errorCode)
{
    switch (-errorCode)
    {
        case ENODEV:
        case ENXIO:
        case ENOENT:
            return "the device was disconnected";

        case EIO:
            // A drain that timed out: the device stopped taking bytes.
            return "the device stopped taking data";

        case EBUSY:
            return "the MIDI output is in use by another program (quit any MIDI application and try again)";

        default:
            return "the MIDI output reported an error (" + juce::String (snd_strerror (errorCode)) + ")";
    }
}
