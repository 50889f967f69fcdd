#include "ContentComp.h"
#include "common/AlertPresenter.h"
#include "common/AutoUpdate.h"
#include "common/CommandLineOptions.h"

namespace
{
    // How the protocol words a failure, the reason following.
    constexpr const char* failedStatusPrefix = "Update failed: ";
} // namespace

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
        startAutomaticUpdate (options, fileLoaded);
}

void ContentComp::startAutomaticUpdate (const CommandLineOptions& options, bool fileLoaded)
{
    // Unattended, a run that cannot do what it was asked ends as a failed update with the
    // reason: never another image than the file named, never another port than the number.
    if (options.hasFile && ! fileLoaded)
    {
        protocol->reportFailure (fileRefusal);
        return;
    }

    if (! options.outputIdValid)
    {
        protocol->reportFailure ("--outputid needs the number of a MIDI output, from 1 up");
        return;
    }

    midiInterface->selectOutputDevice (options.outputId);

    if (warnIfNoOutputChosen())
    {
        protocol->reportFailure ("there is no MIDI output number " + juce::String (options.outputId));
        return;
    }

    buttonClicked (updateButton.get());
}

void ContentComp::reportOutputError()
{
    // A chosen port that cannot be opened (another program holds it, its device is away)
    // says why once, as a failed update would: the button then lets the user try again.
    const auto error = midiInterface->getOutputError();

    if (error != reportedOutputError && error.isNotEmpty())
        protocol->reportFailure (error);

    // Once the port opens, what it said is no longer so; a failed transfer keeps its reason.
    if (error.isEmpty() && reportedOutputError.isNotEmpty() && midiInterface->isConnected()
        && protocol->getStatusText() == failedStatusPrefix + reportedOutputError)
        protocol->setStatusText ({});

    reportedOutputError = error;
}

ContentComp::~ContentComp()
{
    // The protocol thread sends through midiInterface and reads firmwareImage, so it must be
    // gone before either; and the look and feel must stop being the default before it dies.
    // The help window goes before that change, which would otherwise rebuild its native
    // window just before its end.
    protocol = nullptr;
    helpWindow = nullptr;
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
    {
        fileRefusal = loaded->getRefusal();
        return false;
    }

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

void ContentComp::applyUpdateButtonRule()
{
    const bool connected = midiInterface->isConnected();
    const juce::Colour colour (connected ? connectedButtonColour : disconnectedButtonColour);

    // Not while a transfer runs, even when the selector's late notification asks for the
    // rule: the button comes back when the transfer has ended.
    updateButton->setEnabled (connected && ! protocol->isTransferRunning());
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
        startUpdate();
    }
    else if (button == helpButton.get())
    {
        helpWindow->setVisible (! helpWindow->isVisible());
        helpWindow->centreWithSize (550, 400);
    }
}

bool ContentComp::hasOutputChosen() const
{
    // Open, or chosen and failed to open: either way there is a port to try.
    return midiInterface->isConnected() || midiInterface->getOutputError().isNotEmpty();
}

bool ContentComp::warnIfNoOutputChosen()
{
    if (hasOutputChosen())
        return false;

    AlertPresenter::getCurrent().showMessageBox (juce::MessageBoxIconType::WarningIcon, {},
                                                 "Please select an output device:");
    return true;
}

void ContentComp::startUpdate()
{
    // A press that reaches a running transfer (the button is enabled only between
    // transfers) starts nothing.
    if (protocol->isTransferRunning())
        return;

    if (warnIfNoOutputChosen())
        return;

    // The chosen port afresh when the last transfer failed or its device came back; one
    // that cannot be opened says why, as a failed update.
    const auto prepared = midiInterface->prepareOutput();

    if (prepared.failed())
    {
        protocol->reportFailure (prepared.getErrorMessage());
        return;
    }

    displayedProgress = 0.0;
    protocol->startProtocol();
    updateButton->setEnabled (false);
}

void ContentComp::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    // Runs on the message thread, or on the protocol thread while it holds the message
    // manager lock (progress changes): either way components may be touched, nothing may wait.
    if (source == midiInterface.get())
    {
        // The selector is the protocol's to disable while a transfer runs, and stays so
        // until the transfer has ended.
        if (! protocol->isTransferRunning())
        {
            midiInterface->setEnabled (true);
            reportOutputError();
        }

        applyUpdateButtonRule();
    }
    else if (source == static_cast<juce::ChangeBroadcaster*> (protocol.get()))
    {
        displayedProgress = protocol->getProgress();

        // Only once the transfer has ended (the device took the last byte, or it failed),
        // not at full progress: a port changed before that would lose the end of the image.
        // A failed transfer leaves the bar where it stopped and lets the user try again.
        if (protocol->getOutcome() != ProtocolBaseClass::Outcome::none)
        {
            // A chosen port that could not be opened may be tried again; with none chosen
            // there is nothing to try.
            updateButton->setEnabled (hasOutputChosen());
            midiInterface->setEnabled (true);
        }

        const auto status = protocol->getStatusText();
        const auto labelText = status.isEmpty() ? juce::String ("Update progress:") : "Update progress: " + status;

        if (progressLabel->getText() != labelText)
            progressLabel->setText (labelText, juce::dontSendNotification);
    }

    // A progress change comes from the protocol thread, a hundred times a transfer, and that
    // thread waits until we return. The bar redraws itself from displayedProgress on its own
    // timer and every control that changed repaints itself, so repainting the whole panel
    // here would only hold the transfer up.
    if (juce::MessageManager::getInstance()->isThisTheMessageThread())
        repaint();
}
