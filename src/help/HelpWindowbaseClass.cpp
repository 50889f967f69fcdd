#include "HelpWindowbaseClass.h"
#include "lookandfeel/WindowColourIds.h"

HelpWindowbaseClass::HelpWindowbaseClass()
    : DocumentWindow ("Help", juce::Colour (WindowColourIds::backgroundColour), DocumentWindow::allButtons, true)
{
    setColour (WindowColourIds::titleBarColourId, juce::Colour (WindowColourIds::titleBarColour));
}

HelpWindowbaseClass::~HelpWindowbaseClass() = default;

void HelpWindowbaseClass::closeButtonPressed()
{
    setVisible (false);
}
