// How long the look and feel takes to paint the main window's busiest controls with the
// software renderer: the update button, the progress bar and the output selector.
#include "lookandfeel/TemplateLookAndFeel.h"

#include <benchmark/benchmark.h>

namespace
{
    void paintRepeatedly (benchmark::State& state, juce::Component& component)
    {
        juce::Image image (juce::Image::ARGB, component.getWidth(), component.getHeight(), true);

        for (auto _ : state)
        {
            juce::Graphics g (image);
            component.paintEntireComponent (g, true);
            benchmark::ClobberMemory();
        }
    }

    void updateButton (benchmark::State& state)
    {
        TemplateLookAndFeel lookAndFeel;
        juce::TextButton button ("update");
        button.setLookAndFeel (&lookAndFeel);
        button.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff7ebf7e));
        button.setConnectedEdges (juce::Button::ConnectedOnLeft);
        button.setSize (94, 30);
        paintRepeatedly (state, button);
        button.setLookAndFeel (nullptr);
    }

    void progressBar (benchmark::State& state)
    {
        TemplateLookAndFeel lookAndFeel;
        double progress = 0.5;
        juce::ProgressBar bar (progress);
        bar.setLookAndFeel (&lookAndFeel);
        bar.setSize (528, 30);
        paintRepeatedly (state, bar);
        bar.setLookAndFeel (nullptr);
    }

    void selector (benchmark::State& state)
    {
        TemplateLookAndFeel lookAndFeel;
        juce::ComboBox box;
        box.setLookAndFeel (&lookAndFeel);
        box.addItem ("(Disconnected)", 1);
        box.setSelectedId (1, juce::dontSendNotification);
        box.setSize (622, 30);
        paintRepeatedly (state, box);
        box.setLookAndFeel (nullptr);
    }
} // namespace

BENCHMARK (updateButton);
BENCHMARK (progressBar);
BENCHMARK (selector);

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
