#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

// The framework's message manager lives on this (the main) thread for the whole run, so
// component tests can build windows and pump the message loop.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
