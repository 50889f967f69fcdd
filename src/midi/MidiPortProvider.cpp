#include "MidiPortProvider.h"
#include "JuceMidiPortProvider.h"

namespace
{
    MidiPortProvider* installedProvider = nullptr;
}

MidiPortProvider& MidiPortProvider::getCurrent()
{
    static JuceMidiPortProvider defaultProvider;
    return installedProvider != nullptr ? *installedProvider : defaultProvider;
}

void MidiPortProvider::setCurrent (MidiPortProvider* newProvider)
{
    installedProvider = newProvider;
}

bool MidiPortProvider::isOutputPresent (const juce::MidiDeviceInfo& device)
{
    return getOutputDevices().contains (device);
}
