#include "HaldenHelpWindowContentComp.h"

// Steps 1 to 9 start with a blank so that the step numbers line up with 10 and 11.
const char* const HaldenHelpWindowContentComp::helpText =
    "Firmware Update Procedure. \n"
    "The procedure requires a PC or Mac with a standard USB Interface and a 9V/100mA DC power supply. \n"
    "\n"
    "Do following steps before you start the firmware update application on your PC or Mac: \n"
    " 1. Unplug all cables from the pedal. \n"
    " 2. Remove the battery. \n"
    " 3. Connect the pedal to a PC or Mac with the USB cable. \n"
    " 4. Press and hold the footswitch on the pedal. \n"
    " 5. Insert a DC plug with 9V/100mA power supply. \n"
    " 6. Check that the LED on the pedal turns on with green light. \n"
    " 7. Release the footswitch. \n"
    "\n"
    "Now your PC or Mac will recognize the pedal which is ready to receive a new firmware: \n"
    " 8. Launch the firmware update application. \n"
    " 9. (STEP1) Select the pedal in the combo box (see note). \n"
    "10. (STEP2) Press the update button when it turns green. \n"
    "11. Wait for the progress bar to reach 100% and for the pedal to automatically restart. \n"
    "\n"
    "Note: You should select \"USB Audio Device\", if you use Windows XP.\n"
    "\n"
    "\n"
    "Trouble Shooting:\n"
    " - Please quit any MIDI related application on your PC or Mac.\n";

HaldenHelpWindowContentComp::HaldenHelpWindowContentComp()
    : helpTextEditor (std::make_unique<juce::TextEditor> (juce::String(), (juce::juce_wchar) 0))
{
    addAndMakeVisible (*helpTextEditor);
    helpTextEditor->setMultiLine (true, true);
    helpTextEditor->setReadOnly (true);
    helpTextEditor->setText (helpText, true);
}

HaldenHelpWindowContentComp::~HaldenHelpWindowContentComp() = default;

void HaldenHelpWindowContentComp::resized()
{
    helpTextEditor->setBounds (0, 0, getWidth(), getHeight());
}
