#include "MainWindow.h"
#include "AppIcons.h"
#include "firmware/FirmwareImage.h"
#include "lookandfeel/WindowColourIds.h"
#include "panel/ContentComp.h"

MainWindow::MainWindow (juce::String commandLine)
    : DocumentWindow ({}, juce::Colour (WindowColourIds::backgroundColour), DocumentWindow::allButtons, true)
{
    setColour (WindowColourIds::titleBarColourId, juce::Colour (WindowColourIds::titleBarColour));

    auto content = std::make_unique<ContentComp> (std::move (commandLine));
    contentComp = content.get();

    setResizable (true, false);
    setContentOwned (content.release(), false);
    setName (titleFor (*contentComp->getFirmwareImage()));
    setVisible (true);

    const auto icon = juce::ImageCache::getFromMemory (appIcon48Png, appIcon48PngSize);

    for (auto* window : { static_cast<juce::Component*> (this), static_cast<juce::Component*> (&contentComp->getHelpWindow()) })
        if (auto* peer = window->getPeer())
            peer->setIcon (icon);
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
