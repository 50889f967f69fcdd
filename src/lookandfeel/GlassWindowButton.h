#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/**
    A round title-bar button: a grey ring, a tinted glass sphere inside it and a dark
    symbol on the sphere. Made by TemplateLookAndFeel::createDocumentWindowButton.
*/
class GlassWindowButton final : public juce::Button
{
public:
    GlassWindowButton (const juce::String& name, const juce::Colour& colour,
                       const juce::Path& normalShape, const juce::Path& toggledShape);
    ~GlassWindowButton() override;

    void paintButton (juce::Graphics&, bool isMouseOverButton, bool isButtonDown) override;

private:
    const juce::Colour colour;
    const juce::Path normalShape, toggledShape;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (GlassWindowButton)
};
