#include "ContentComp.h"
#include "common/AlertPresenter.h"
#include "common/AutoUpdate.h"
#include "common/CommandLineOptions.h"

//==============================================================================
ContentComp::ContentComp (juce::String commandLine)
{
    juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);

    helpWindow = std::make_unique<HaldenHelpWindowClass>();
    midiInterface = std::make_unique<MidiInterfaceClass> (true, false);

    firmwareImage = std::make_unique<FirmwareImage>();
    firmwareImage->setName ("Corvane Chorus");
    protocol = std::make_unique<BasicSysexProtocolClass> (midiInterface.get(), firmwareImage.get());

    const auto options = CommandLineOptions::parse (commandLine);
    autoUpdate = options.autoUpdate;

    const bool fileLoaded = options.hasFile && loadFirmwareFile (options.fileName);

    addAndMakeVisible (*midiInterface);

    protocol->addChangeListener (this);
    midiInterface->addChangeListener (this);

    infoLabel = makeLabel (buildInformationText (fileLoaded));
    step1Label = makeLabel ("STEP1");
    step1InfoLabel = makeLabel ("In Windows XP, the Kestrix input/output-device is called \"USB Audio Device\"");
    step2Label = makeLabel ("STEP2");

    updateButton = std::make_unique<juce::TextButton> ("update");
    updateButton->setTooltip ("click here to update the product");
    addAndMakeVisible (*updateButton);
    updateButton->addListener (this);
    updateButton->setConnectedEdges (juce::Button::ConnectedOnLeft);

    applyUpdateButtonRule();

    displayedProgress = 0.0;
    progressBar = std::make_unique<juce::ProgressBar> (displayedProgress);
    addAndMakeVisible (*progressBar);
    progressLabel = std::make_unique<juce::Label> (juce::String(), "Update progress:");
    // An attached label is as high as its rounded-up font plus 6 and its borders; one pixel
    // off the bottom border keeps it at font height + 8 (23 pixels), right on top of the bar.
    progressLabel->setBorderSize ({ 1, 5, 0, 5 });
    progressLabel->attachToComponent (progressBar.get(), false);

    helpButton = std::make_unique<juce::TextButton> ("Help");
    helpButton->setTooltip ("click here to get help");
    addAndMakeVisible (*helpButton);
    helpButton->addListener (this);

    if (autoUpdate)
    {
        midiInterface->selectOutputDevice (options.outputId);
        buttonClicked (updateButton.get());
    }
}

ContentComp::~ContentComp()
{
    // The protocol thread sends through midiInterface and reads firmwareImage, so it must be
    // gone before either; and the look and feel must stop being the default before it dies.
    protocol = nullptr;
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

std::unique_ptr<juce::Label> ContentComp::makeLabel (const juce::String& text)
{
    auto label = std::make_unique<juce::Label> (juce::String(), text);
    addAndMakeVisible (*label);
    return label;
}

//==============================================================================
bool ContentComp::loadFirmwareFile (const juce::String& path)
{
    auto loaded = std::make_unique<FirmwareImage> (path);

    if (loaded->getData() == nullptr)
        return false;

    // The old protocol goes first: it holds a pointer to the old image.
    protocol = nullptr;
    firmwareImage = std::move (loaded);
    protocol = std::make_unique<BasicSysexProtocolClass> (midiInterface.get(), firmwareImage.get());
    return true;
}

juce::String ContentComp::buildInformationText (bool fileLoaded) const
{
    juce::String text ("This software updater will update your " + firmwareImage->getName());

    if (fileLoaded)
        return text + " firmware from the loaded sysex file";

    text << " firmware to version " << firmwareImage->getVersion();

    if (firmwareImage->getRevision() != 0)
        text << " - R" << firmwareImage->getRevision();

    return text;
}

bool ContentComp::isFinishingTransfer() const
{
    // Sound on the message thread: the step to full progress is told to this panel under
    // the message-manager lock before the thread counts its transfer as done, so the
    // thread cannot get into its last steps between this check and a start.
    return protocol->isThreadRunning() && protocol->getProgress() == 1.0;
}

void ContentComp::applyUpdateButtonRule()
{
    const bool connected = midiInterface->isConnected();
    const juce::Colour colour (connected ? connectedButtonColour : disconnectedButtonColour);

    updateButton->setEnabled (connected);
    updateButton->setColour (juce::TextButton::buttonColourId, colour);
    updateButton->setColour (juce::TextButton::buttonOnColourId, colour);
}

//==============================================================================
void ContentComp::resized()
{
    const auto w = getWidth();

    infoLabel->setBounds (10, 15, w - 20, 50);
    helpButton->setBounds (w - 104, 2, 94, 30);
    step1Label->setBounds (10, infoLabel->getBottom() + 5, w - 20, 30);
    midiInterface->setBounds (10, step1Label->getBottom() + 5, w - 20, midiInterface->getPreferredHeight());
    step2Label->setBounds (10, midiInterface->getBottom() + 10, w - 20, 30);
    updateButton->setBounds (w - 104, step2Label->getBottom() + 20, 94, 30);
    progressBar->setBounds (10, step2Label->getBottom() + 20, w - 114, 30);

    helpWindow->centreWithSize (550, 400);
}

void ContentComp::buttonClicked (juce::Button* button)
{
    if (button == updateButton.get())
    {
        if (isFinishingTransfer())
        {
            // The bar is full and the button enabled, but the thread has not returned yet:
            // a restart now would reset the progress without starting anything, and the
            // coming "Update completed" would find the bar empty and leave the button
            // disabled for good. The press is dropped; the button stays usable.
        }
        else if (midiInterface->isConnected())
        {
            displayedProgress = 0.0;
            protocol->startProtocol();
            updateButton->setEnabled (false);
        }
        else
        {
            AlertPresenter::getCurrent().showMessageBox (juce::MessageBoxIconType::WarningIcon, {},
                                                         "Please select an output device:");
        }
    }
    else if (button == helpButton.get())
    {
        helpWindow->setVisible (! helpWindow->isVisible());
        helpWindow->centreWithSize (550, 400);
    }
}

bool ContentComp::transferFailed() const
{
    return protocol->getOutcome() == ProtocolBaseClass::Outcome::failed;
}

void ContentComp::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    // Runs on the message thread, or on the protocol thread while it holds the message
    // manager lock (progress changes): either way components may be touched, nothing may wait.
    if (source == midiInterface.get())
    {
        const bool idle = displayedProgress == 0.0 || displayedProgress == 1.0 || transferFailed();
        midiInterface->setEnabled (idle || ! midiInterface->isEnabled());
        applyUpdateButtonRule();
    }
    else if (source == static_cast<juce::ChangeBroadcaster*> (protocol.get()))
    {
        displayedProgress = protocol->getProgress();

        // A failed transfer leaves the bar where it stopped and lets the user try again.
        if (displayedProgress == 1.0 || transferFailed())
        {
            updateButton->setEnabled (true);
            midiInterface->setEnabled (true);
        }

        const auto status = protocol->getStatusText();

        if (progressLabel->getText() != status)
            progressLabel->setText ("Update progress: " + status, juce::dontSendNotification);
    }

    // A progress change comes from the protocol thread, a hundred times a transfer, and that
    // thread waits until we return. The bar redraws itself from displayedProgress on its own
    // timer and every control that changed repaints itself, so repainting the whole panel
    // here would only hold the transfer up.
    if (juce::MessageManager::getInstance()->isThisTheMessageThread())
        repaint();
}
