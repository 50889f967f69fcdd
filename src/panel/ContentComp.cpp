#include "ContentComp.h"
#include "app/AutoUpdate.h"
#include "app/CommandLineOptions.h"

ContentComp::ContentComp (juce::String commandLine)
{
    firmwareImage = std::make_unique<FirmwareImage>();
    firmwareImage->setName ("Corvane Chorus");

    const auto options = CommandLineOptions::parse (commandLine);
    autoUpdate = options.autoUpdate;

    if (options.hasFile)
        loadFirmwareFile (options.fileName);
}

ContentComp::~ContentComp() = default;

bool ContentComp::loadFirmwareFile (const juce::String& path)
{
    auto loaded = std::make_unique<FirmwareImage> (path);

    if (loaded->getData() == nullptr)
        return false;

    firmwareImage = std::move (loaded);
    return true;
}
