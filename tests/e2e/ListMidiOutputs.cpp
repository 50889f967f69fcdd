// Prints the MIDI output ports in the order Firmhold numbers them (1 = the first line),
// so that a test can find the --outputid of a port by its name.

#include <juce_audio_devices/juce_audio_devices.h>

#include <iostream>

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;

    for (const auto& device : juce::MidiOutput::getAvailableDevices())
        std::cout << device.name << std::endl;

    return 0;
}
