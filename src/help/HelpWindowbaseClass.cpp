#include "HelpWindowbaseClass.h"
#include "lookandfeel/WindowColourIds.h"

HelpWindowbaseClass::HelpWindowbaseClass()
    : DocumentWindow ("Help", juce::Colour (backgroundColour), DocumentWindow::allButtons, true)
{
    setColour (WindowColourIds::titleBarColourId, juce::Colour (titleBarColour));
}

HelpWindowbaseClass::~HelpWindowbaseClass() = default;

void HelpWindowbaseClass::closeButtonPressed()
{
    setVisible (false);
}
