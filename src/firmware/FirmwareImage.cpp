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
        showAlert (path, "cannot be read", "The firmware file is not a regular file.");
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
        showRefusal (path, "it is " + juce::String (fileSize) + " bytes long, more than the "
                               + juce::String (maximumFileSize) + " bytes a firmware file may have");
        return;
    }

    juce::FileInputStream stream (file);

    if (! stream.openedOk())
    {
        showAlert (path, "cannot be read", "The firmware file could not be opened for reading: "
                                               + stream.getStatus().getErrorMessage() + ".");
        return;
    }

    if (fileSize <= 0)
    {
        showAlert (path, "is empty", "The firmware file holds no bytes.");
        return;
    }

    auto block = std::make_unique<juce::MemoryBlock>();
    const auto bytesRead = stream.readIntoMemoryBlock (*block, (ssize_t) fileSize);

    // Only what was actually read counts: a short read never claims more.
    if (bytesRead <= 0)
    {
        showAlert (path, "cannot be read", "No byte of the firmware file could be read.");
        return;
    }

    block->setSize (bytesRead);

    const auto check = SysexStreamValidator::check (static_cast<const std::uint8_t*> (block->getData()), block->getSize());

    if (! check.ok)
    {
        showRefusal (path, juce::String (check.reason) + " (at byte offset " + juce::String ((juce::int64) check.faultOffset) + ")");
        return;
    }

    ownedBlock = std::move (block);
    data = static_cast<const juce::uint8*> (ownedBlock->getData());
    size = (juce::int64) ownedBlock->getSize();
    name = nameFromPath (path);
}

void FirmwareImage::showRefusal (const juce::String& path, const juce::String& reason)
{
    showAlert (path, "is not a firmware image", "The firmware file cannot be used: " + reason + ".");
}

void FirmwareImage::showAlert (const juce::String& path, const juce::String& whatIsWrong, const juce::String& explanation)
{
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
