#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "common/CommandLineOptions.h"
#include "firmware/FirmwareImage.h"
#include "help/HaldenHelpWindowClass.h"
#include "lookandfeel/TemplateLookAndFeel.h"
#include "midi/MidiInterfaceClass.h"
#include "protocol/BasicSysexProtocolClass.h"

//==============================================================================
/**
    The update panel: STEP1 picks the pedal's MIDI output, STEP2 sends the firmware and
    shows its progress. It owns everything the update needs (look and feel, help window,
    MIDI interface, image and protocol) and learns what happens through change messages.
*/
class ContentComp final : public juce::Component,
                          public juce::Button::Listener,
                          public juce::ChangeListener
{
public:
    static constexpr juce::uint32 connectedButtonColour = 0xff7ebf7e;     // green brightened by 0.99
    static constexpr juce::uint32 disconnectedButtonColour = 0xffff7e7e;  // red brightened by 0.99

    explicit ContentComp (juce::String commandLine);
    ~ContentComp() override;

    FirmwareImage* getFirmwareImage() const noexcept { return firmwareImage.get(); }
    BasicSysexProtocolClass* getProtocol() const noexcept { return protocol.get(); }

    void resized() override;
    void buttonClicked (juce::Button* button) override;
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

    //==============================================================================
    // For tests and the window: the panel's parts as the user sees them.
    MidiInterfaceClass& getMidiInterface() const noexcept { return *midiInterface; }
    juce::TextButton& getUpdateButton() const noexcept { return *updateButton; }
    juce::TextButton& getHelpButton() const noexcept { return *helpButton; }
    juce::ProgressBar& getProgressBar() const noexcept { return *progressBar; }
    juce::Label& getProgressLabel() const noexcept { return *progressLabel; }
    juce::Label& getInfoLabel() const noexcept { return *infoLabel; }
    juce::Label& getStep1Label() const noexcept { return *step1Label; }
    juce::Label& getStep1InfoLabel() const noexcept { return *step1InfoLabel; }
    juce::Label& getStep2Label() const noexcept { return *step2Label; }
    HaldenHelpWindowClass& getHelpWindow() const noexcept { return *helpWindow; }
    double getDisplayedProgress() const noexcept { return displayedProgress; }

private:
    /** Replaces image and protocol together; false (and nothing replaced) if the file gave no
        image. Only while the panel is being built: nothing may be running on the old protocol. */
    bool loadFirmwareFile (const juce::String& path);

    void applyUpdateButtonRule();
    void startUpdate();
    bool hasOutputChosen() const;
    bool warnIfNoOutputChosen(); // true, after the warning, when there is no port to try
    void startAutomaticUpdate (const CommandLineOptions& options, bool fileLoaded);
    void reportOutputError();
    juce::String buildInformationText (bool fileLoaded) const;
    std::unique_ptr<juce::Label> makeLabel (const juce::String& text);

    std::unique_ptr<HaldenHelpWindowClass> helpWindow;
    std::unique_ptr<MidiInterfaceClass> midiInterface;
    std::unique_ptr<BasicSysexProtocolClass> protocol;
    std::unique_ptr<juce::TextButton> updateButton;
    std::unique_ptr<juce::ProgressBar> progressBar;
    std::unique_ptr<juce::Label> progressLabel;
    double displayedProgress = 0.0;
    juce::String reportedOutputError;
    juce::String fileRefusal;   // why the --file image was refused, naming the file
    std::unique_ptr<juce::TextButton> helpButton;
    std::unique_ptr<juce::Label> infoLabel, step1Label, step1InfoLabel, step2Label;
    std::unique_ptr<FirmwareImage> firmwareImage;
    TemplateLookAndFeel lookAndFeel;
    juce::TooltipWindow tooltipWindow { this, 700 };   // tips of this window only: one tip, one window

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ContentComp)
};
