#include "MainWindow.h"
#include "AppIcons.h"
#include "firmware/FirmwareImage.h"
#include "lookandfeel/WindowColourIds.h"
#include "panel/ContentComp.h"

MainWindow::MainWindow (juce::String commandLine)
    : DocumentWindow ({}, juce::Colour (WindowColourIds::backgroundColour), DocumentWindow::allButtons, false)
{
    setColour (WindowColourIds::titleBarColourId, juce::Colour (WindowColourIds::titleBarColour));

    auto content = std::make_unique<ContentComp> (std::move (commandLine));
    contentComp = content.get();

    setResizable (true, false);
    setContentOwned (content.release(), false);
    setName (titleFor (*contentComp->getFirmwareImage()));

    // The native window is made once the panel has made its look the default, so that it is
    // made with that look from the start.
    addToDesktop();
    setVisible (true);

    const auto icon = juce::ImageCache::getFromMemory (appIcon48Png, appIcon48PngSize);

    for (auto* window : { static_cast<juce::Component*> (this), static_cast<juce::Component*> (&contentComp->getHelpWindow()) })
        if (auto* peer = window->getPeer())
            peer->setIcon (icon);
}

MainWindow::~MainWindow()
{
    // The panel, as it goes, hands the default look back to the framework, and every window
    // still on the desktop then builds its native window anew. This one is being torn down:
    // leave the desktop first. (Under Wine each native window rebuilt this late held the
    // close up by seconds.)
    removeFromDesktop();
}

void MainWindow::closeButtonPressed()
{
    if (contentComp != nullptr)
    {
        if (auto* protocol = contentComp->getProtocol())
        {
            protocol->signalThreadShouldExit();
            protocol->waitForThreadToExit (5000);
        }
    }

    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}

juce::String MainWindow::titleFor (const FirmwareImage& image)
{
    auto title = image.getName() + " version " + image.getVersion();

    if (image.getRevision() != 0)
        title << " - R" << image.getRevision();

    return title;
}
