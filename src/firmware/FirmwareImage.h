#pragma once

#include <juce_core/juce_core.h>

//==============================================================================
/**
    The firmware to install: a stream of complete SysEx messages in memory, with a name,
    a version text and a revision number for display.

    It is either the built-in image (constant data, not owned) or a file read whole into
    an owned block. A file that cannot be used leaves the record without data (getData()
    returns nullptr); the caller then keeps the image it had.
*/
class FirmwareImage final
{
public:
    /** Files above this size are refused; the real release file is a quarter of a megabyte. */
    static constexpr juce::int64 maximumFileSize = 16 * 1024 * 1024;

    /** The built-in image. */
    FirmwareImage();

    /** Reads the file at path (absolute, or relative to the working directory). A file that
        is missing, cannot be read, is empty or is not firmware for the pedal is reported
        through the current AlertPresenter, naming the file, and getRefusal() says why. */
    explicit FirmwareImage (const juce::String& path);

    /** An image already in memory, taken as it stands: unlike a file, it is not checked, so
        whoever hands it over vouches for its framing. */
    FirmwareImage (juce::MemoryBlock bytes, const juce::String& imageName);

    const juce::uint8* getData() const noexcept { return data; }

    /** Why a file gave no image, as one line that names the file ("the firmware file
        pedal.syx is empty"); empty for an image. */
    juce::String getRefusal() const { return refusal; }

    /** The low 32 bits of the byte count. */
    int getSize() const noexcept { return (int) (juce::uint32) size; }

    juce::String getName() const { return name; }
    juce::String getVersion() const { return version; }
    int getRevision() const noexcept { return revision; }
    void setName (const juce::String& newName) { name = newName; }

    /** The file name without its extension: the text after the last '/' or '\', up to the
        last dot after it. */
    static bool isRegularFile (const juce::File& file);
    static juce::String nameFromPath (const juce::String& path);

private:
    void readFile (const juce::File& file, const juce::String& path);
    void refuseFraming (const juce::String& path, const juce::String& reason);
    void refuseLayout (const juce::String& path, const juce::String& reason);

    /** Title "File <path> <whatIsWrong>"; the explanation is followed by the built-in note.
        reason: the same as one line, for getRefusal(). */
    void refuse (const juce::String& path, const juce::String& whatIsWrong, const juce::String& explanation,
                 const juce::String& reason);

    const juce::uint8* data = nullptr;
    juce::int64 size = 0;
    juce::String name, version, refusal;
    int revision = 0;
    std::unique_ptr<juce::MemoryBlock> ownedBlock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FirmwareImage)
};
