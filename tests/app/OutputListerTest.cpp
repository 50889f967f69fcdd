#include <gtest/gtest.h>

#include "app/OutputLister.h"
#include "midi/MidiInterfaceClass.h"
#include "support/FakeMidiPortProvider.h"

#include <sstream>

TEST (OutputLister, NumbersEachOutputAsTheSelectorDoes)
{
    const juce::StringArray names { "Midi Through Port-0", "VirMIDI 0-0", juce::String (juce::CharPointer_UTF8 ("Pedal \xc3\xbc" "ber USB")) };
    FakeMidiPortProvider ports { names, { "an input" } };

    std::ostringstream out;
    OutputLister::write (out);

    EXPECT_EQ (out.str(), "1\tMidi Through Port-0\n2\tVirMIDI 0-0\n3\tPedal \xc3\xbc" "ber USB\n");

    // The number printed is the one that opens that port.
    for (int number = 1; number <= names.size(); ++number)
    {
        MidiInterfaceClass midiInterface (true, false);
        midiInterface.selectOutputDevice (number);
        EXPECT_EQ (ports.getOpenOutputs(), juce::StringArray (names[number - 1])) << number;
    }
}

TEST (OutputLister, PrintsNothingWithoutOutputs)
{
    FakeMidiPortProvider ports { {}, { "an input" } };

    std::ostringstream out;
    OutputLister::write (out);

    EXPECT_EQ (out.str(), "");
}
