#include "FirmwareImage.h"
#include "BuiltInFirmware.h"
#include "SysexStreamValidator.h"
#include "common/AlertPresenter.h"

#include <filesystem>

namespace
{
    const char* const useBuiltInNote = "The application will use the build-in firmware version.";
}

//==============================================================================
FirmwareImage::FirmwareImage()
    : data (builtInFirmwareData),
      size (builtInFirmwareSize),
      name ("Orvid"),
      version ("1.1.01"),
      revision (272)
{
}

FirmwareImage::FirmwareImage (const juce::String& path)
{
    // A relative path names a file in the working directory, as a shell user expects.
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (path);

    if (! file.existsAsFile())
    {
        refusal = "the firmware file " + path + " was not found";
        AlertPresenter::getCurrent().showMessageBox (juce::MessageBoxIconType::NoIcon,
                                                     "File " + path + " not found",
                                                     juce::String ("A firmware file was specified, but it could not be found.\n ")
                                                         + useBuiltInNote);
        return;
    }

    // A pipe or a device would hold the start until something writes to it, for ever if
    // nothing does: only a regular file is read.
    if (! isRegularFile (file))
    {
        refuse (path, "cannot be read", "The firmware file is not a regular file.", "cannot be read: it is not a regular file");
        return;
    }

    readFile (file, path);
}

bool FirmwareImage::isRegularFile (const juce::File& file)
{
    std::error_code error;
    return std::filesystem::is_regular_file (std::filesystem::u8path (file.getFullPathName().toRawUTF8()), error);
}

FirmwareImage::FirmwareImage (juce::MemoryBlock bytes, const juce::String& imageName)
    : name (imageName),
      ownedBlock (std::make_unique<juce::MemoryBlock> (std::move (bytes)))
{
    data = static_cast<const juce::uint8*> (ownedBlock->getData());
    size = (juce::int64) ownedBlock->getSize();
}

void FirmwareImage::readFile (const juce::File& file, const juce::String& path)
{
    const auto fileSize = file.getSize();

    if (fileSize > maximumFileSize)
    {
        refuseFraming (path, "it is " + juce::String (fileSize) + " bytes long, more than the "
                                 + juce::String (maximumFileSize) + " bytes a firmware file may have");
        return;
    }

    juce::FileInputStream stream (file);

    if (! stream.openedOk())
    {
        const auto error = stream.getStatus().getErrorMessage();
        refuse (path, "cannot be read", "The firmware file could not be opened for reading: " + error + ".",
                "cannot be read: " + error);
        return;
    }

    if (fileSize <= 0)
    {
        refuse (path, "is empty", "The firmware file holds no bytes.", "is empty");
        return;
    }

    auto block = std::make_unique<juce::MemoryBlock>();
    const auto bytesRead = stream.readIntoMemoryBlock (*block, (ssize_t) fileSize);

    // Only what was actually read counts: a short read never claims more.
    if (bytesRead <= 0)
    {
        refuse (path, "cannot be read", "No byte of the firmware file could be read.", "cannot be read");
        return;
    }

    block->setSize (bytesRead);

    const auto* bytes = static_cast<const std::uint8_t*> (block->getData());
    const auto check = SysexStreamValidator::check (bytes, block->getSize());

    if (! check.ok)
    {
        const auto fault = juce::String::fromUTF8 (SysexStreamValidator::describe (check, bytes, block->getSize()).c_str());

        if (check.layoutFault)
            refuseLayout (path, fault);
        else
            refuseFraming (path, fault);

        return;
    }

    ownedBlock = std::move (block);
    data = static_cast<const juce::uint8*> (ownedBlock->getData());
    size = (juce::int64) ownedBlock->getSize();
    name = nameFromPath (path);
}

void FirmwareImage::refuseFraming (const juce::String& path, const juce::String& reason)
{
    refuse (path, "is not a firmware image", "The firmware file cannot be used: " + reason + ".",
            "is not a firmware image: " + reason);
}

void FirmwareImage::refuseLayout (const juce::String& path, const juce::String& reason)
{
    // Well framed, but another device's SysEx, another model's image, or not one whole
    // image: sent to the pedal's bootloader, any of these could leave it unusable.
    refuse (path, "is not a firmware image", "The firmware file is not firmware for the Corvane Chorus: " + reason + ".",
            "is not firmware for the Corvane Chorus: " + reason);
}

void FirmwareImage::refuse (const juce::String& path, const juce::String& whatIsWrong, const juce::String& explanation,
                            const juce::String& reason)
{
    refusal = "the firmware file " + path + " " + reason;
    AlertPresenter::getCurrent().showMessageBox (juce::MessageBoxIconType::WarningIcon,
                                                 "File " + path + " " + whatIsWrong,
                                                 explanation + "\n " + useBuiltInNote);
}

juce::String FirmwareImage::nameFromPath (const juce::String& path)
{
    const auto afterSeparator = path.substring (juce::jmax (path.lastIndexOfChar ('/'), path.lastIndexOfChar ('\\')) + 1);
    const auto dot = afterSeparator.lastIndexOfChar ('.');
    return dot >= 0 ? afterSeparator.substring (0, dot) : afterSeparator;
}
