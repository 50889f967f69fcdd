#include <gtest/gtest.h>

#include "firmware/FirmwareImage.h"
#include "firmware/SysexFormat.h"
#include "firmware/SysexStreamValidator.h"
#include "support/PedalImage.h"
#include "support/RecordingAlertPresenter.h"
#include "support/UnusualFiles.h"

namespace
{
    std::vector<int> messageStarts (const juce::uint8* data, int size)
    {
        std::vector<int> starts;
        for (int i = 0; i < size; ++i)
            if (data[i] == SysexFormat::sysexStart)
                starts.push_back (i);
        return starts;
    }

    juce::File writeTempFile (const juce::String& fileName, const juce::MemoryBlock& bytes)
    {
        auto file = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("firmhold-test-" + juce::String (juce::Time::getHighResolutionTicks())).getChildFile (fileName);
        file.getParentDirectory().createDirectory();
        file.replaceWithData (bytes.getData(), bytes.getSize());
        return file;
    }

    juce::MemoryBlock bytes (std::initializer_list<int> values)
    {
        juce::MemoryBlock block;
        for (auto v : values)
            block.append (&v, 1);   // little-endian: the low byte
        return block;
    }
} // namespace

//==============================================================================
TEST (FirmwareImage, BuiltInImageHasTheReleaseFraming)
{
    FirmwareImage image;

    ASSERT_EQ (image.getSize(), 243212);
    EXPECT_EQ (image.getName(), "Orvid");
    EXPECT_EQ (image.getVersion(), "1.1.01");
    EXPECT_EQ (image.getRevision(), 272);

    const auto starts = messageStarts (image.getData(), image.getSize());
    ASSERT_EQ (starts.size(), 408u);
    EXPECT_EQ (starts[0], 0);
    EXPECT_EQ (starts[1], 9);
    EXPECT_EQ (starts[2], 608);
    EXPECT_EQ (starts[3], 1207);
    EXPECT_EQ (starts.back(), 243203);

    for (size_t i = 1; i + 1 < starts.size(); ++i)
        ASSERT_EQ (starts[i + 1] - starts[i], 599) << "message " << i;

    const juce::uint8 begin[] = { 0xf0, SysexFormat::manufacturerId[0], SysexFormat::manufacturerId[1], SysexFormat::manufacturerId[2], 0x00, 0x6d, 0x51, 0x01, 0xf7 };
    const juce::uint8 end[] = { 0xf0, SysexFormat::manufacturerId[0], SysexFormat::manufacturerId[1], SysexFormat::manufacturerId[2], 0x00, 0x6d, 0x52, 0x01, 0xf7 };
    EXPECT_EQ (memcmp (image.getData(), begin, sizeof (begin)), 0);
    EXPECT_EQ (memcmp (image.getData() + 243203, end, sizeof (end)), 0);
    EXPECT_EQ (image.getData()[9 + 7], 0x00);     // data messages: F0 id 00 6D 52 00
    EXPECT_EQ (image.getData()[9 + 598], 0xf7);

    // The same check as a file image: the built-in image is the pedal's firmware too.
    const auto check = SysexStreamValidator::check (image.getData(), (size_t) image.getSize());
    EXPECT_TRUE (check.ok) << check.reason << " at " << check.faultOffset;
    EXPECT_EQ (check.numMessages, 408u);
}

TEST (FirmwareImage, BuiltInImageIsTheReleaseFileByteForByte)
{
    juce::MemoryBlock release;
    ASSERT_TRUE (juce::File (FIRMHOLD_RELEASE_FILE).loadFileAsData (release));

    FirmwareImage image;
    ASSERT_EQ ((size_t) image.getSize(), release.getSize());
    EXPECT_EQ (memcmp (image.getData(), release.getData(), release.getSize()), 0);
}

TEST (FirmwareImage, ValidFileLoadsWholeAndIsNamedAfterTheFile)
{
    RecordingAlertPresenter alerts;
    const auto content = PedalImage::toBlock (PedalImage::make ({ { 0x01 }, { 0x7f, 0x00, 0x11 } }));
    const auto file = writeTempFile ("pedal_v2.syx", content);

    FirmwareImage image (file.getFullPathName());

    ASSERT_NE (image.getData(), nullptr);
    EXPECT_EQ (image.getSize(), (int) content.getSize());
    EXPECT_EQ (memcmp (image.getData(), content.getData(), content.getSize()), 0);
    EXPECT_EQ (image.getName(), "pedal_v2");
    EXPECT_EQ (image.getVersion(), "");
    EXPECT_EQ (image.getRevision(), 0);
    EXPECT_EQ (image.getRefusal(), "");
    EXPECT_TRUE (alerts.alerts.empty());

    file.getParentDirectory().deleteRecursively();
}

TEST (FirmwareImage, RelativePathIsTakenFromTheWorkingDirectory)
{
    RecordingAlertPresenter alerts;
    const auto file = writeTempFile ("rel.syx", PedalImage::toBlock (PedalImage::make (1, 1)));
    const auto previous = juce::File::getCurrentWorkingDirectory();
    file.getParentDirectory().setAsCurrentWorkingDirectory();

    FirmwareImage image ("rel.syx");

    previous.setAsCurrentWorkingDirectory();
    EXPECT_NE (image.getData(), nullptr);
    EXPECT_EQ (image.getName(), "rel");
    EXPECT_TRUE (alerts.alerts.empty());
    file.getParentDirectory().deleteRecursively();
}

TEST (FirmwareImage, NameIsTheFileNameWithoutExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        { "C:\\fw\\pedal.rev2.syx", "pedal.rev2" },
        { "C:\\fw\\pedal", "pedal" },
        { "C:\\fw\\pedal_v2.syx", "pedal_v2" },
        { "/home/u/fw/pedal_v2.syx", "pedal_v2" },
        { "/home/u.v/fw/pedal", "pedal" },
        { "rel/dir\\mixed.syx", "mixed" },
        { "plain.syx", "plain" },
        { ".syx", "" },
        { "", "" },
    };

    for (const auto& [path, name] : cases)
        EXPECT_EQ (FirmwareImage::nameFromPath (path), juce::String (name)) << path;
}

//==============================================================================
namespace
{
    struct BadFile
    {
        const char* description;
        std::function<juce::File()> make;
        const char* titleEnd;
        const char* messagePart;
        const char* refusal;   // getRefusal() after "the firmware file <path> ", from its start
    };
} // namespace

TEST (FirmwareImage, UnusableFilesLeaveNoImageAndSayWhy)
{
    const auto dir = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("firmhold-bad-" + juce::String (juce::Time::getHighResolutionTicks()));
    dir.createDirectory();

    auto write = [&dir] (const char* name, const juce::MemoryBlock& content)
    {
        auto f = dir.getChildFile (name);
        f.replaceWithData (content.getData(), content.getSize());
        return f;
    };

    using PedalImage::concat;
    const auto begin = PedalImage::beginMessage();
    const auto data = PedalImage::dataMessage ({ 0x01 });
    const auto end = PedalImage::endMessage();
    auto pedalFile = [&] (const char* name, const PedalImage::Bytes& content) { return write (name, PedalImage::toBlock (content)); };

    const BadFile cases[] = {
        { "missing", [&] { return dir.getChildFile ("nothing.syx"); }, " not found", "could not be found", "was not found" },
        { "directory", [&] { return dir; }, " not found", "could not be found", "was not found" },
        { "empty", [&] { auto f = dir.getChildFile ("empty.syx"); f.create(); return f; }, " is empty", "holds no bytes", "is empty" },
        // Opening a pipe for reading waits for a writer: without the check, for ever.
        { "a pipe", [&] { return UnusualFiles::makePipe (dir); }, " cannot be read", "not a regular file", "cannot be read: it is not a regular file" },
        { "unreadable", [&] { return UnusualFiles::makeUnreadable (dir); }, " cannot be read", "could not be opened for reading: Permission denied.", "cannot be read: Permission denied" },
        { "no F0 first", [&] { return write ("a.syx", bytes ({ 0x01, 0xf0, 0xf7 })); }, " is not a firmware image", "offset 0)", "is not a firmware image: the file does not start with a SysEx message (F0) (at byte offset 0)" },
        { "unclosed", [&] { return write ("b.syx", bytes ({ 0xf0, 0x01, 0x02 })); }, " is not a firmware image", "offset 3)", "is not a firmware image: the last SysEx" },
        { "high byte", [&] { return write ("c.syx", bytes ({ 0xf0, 0x01, 0x90, 0xf7 })); }, " is not a firmware image", "offset 2)", "is not a firmware image: a SysEx message holds" },
        { "F0 inside", [&] { return write ("d.syx", bytes ({ 0xf0, 0x01, 0xf0, 0xf7 })); }, " is not a firmware image", "offset 2)", "is not a firmware image: a SysEx message starts" },
        { "stray byte", [&] { return pedalFile ("e.syx", concat ({ begin, { 0x05 }, data, end })); }, " is not a firmware image", "offset 9)", "is not a firmware image: a byte stands" },
        { "stray F7", [&] { return pedalFile ("f.syx", concat ({ begin, { 0xf7 }, data, end })); }, " is not a firmware image", "offset 9)", "is not a firmware image: a byte stands" },
        { "another device's SysEx", [&] { return write ("synth-dump.syx", bytes ({ 0xf0, 0x43, 0x10, 0x4c, 0x00, 0x00, 0x7e, 0x00, 0xf7 })); },
          " is not a firmware image",
          "The firmware file is not firmware for the Corvane Chorus: the message at byte 0 is for another device (F0 43 10 4C 00 00 7E 00 F7).",
          "is not firmware for the Corvane Chorus: the message at byte 0 is for another device (F0 43 10 4C 00 00 7E 00 F7)" },
        { "cut off before the end message", [&] { return pedalFile ("cut.syx", concat ({ begin, data })); }, " is not a firmware image",
          "not firmware for the Corvane Chorus: the file ends without the end message (at byte 19).",
          "is not firmware for the Corvane Chorus: the file ends without the end message (at byte 19)" },
        { "over 16 MiB", [&]
          {
              auto f = dir.getChildFile ("huge.syx");
              f.create();
              juce::FileOutputStream out (f);
              out.setPosition (FirmwareImage::maximumFileSize);
              out.writeByte (0);
              return f;
          },
          " is not a firmware image", "more than the 16777216 bytes", "is not a firmware image: it is 16777217 bytes long" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.description);
        RecordingAlertPresenter alerts;
        const auto file = c.make();

        if (file == juce::File())
            continue;   // this system has no such file

        FirmwareImage image (file.getFullPathName());

        EXPECT_EQ (image.getData(), nullptr);
        ASSERT_EQ (alerts.alerts.size(), 1u);
        EXPECT_EQ (alerts.alerts[0].title, "File " + file.getFullPathName() + c.titleEnd);
        EXPECT_TRUE (alerts.alerts[0].message.contains (c.messagePart)) << alerts.alerts[0].message;
        EXPECT_TRUE (alerts.alerts[0].message.endsWith ("\n The application will use the build-in firmware version."));
        EXPECT_TRUE (image.getRefusal().startsWith ("the firmware file " + file.getFullPathName() + " " + c.refusal)) << image.getRefusal();
    }

    dir.deleteRecursively();
}

TEST (FirmwareImage, NotFoundAlertIsWordedExactly)
{
    RecordingAlertPresenter alerts;
    FirmwareImage missing ("/no/such/dir/pedal.syx");
    FirmwareImage emptyPath ("");   // the working directory itself: a directory

    ASSERT_EQ (alerts.alerts.size(), 2u);
    EXPECT_EQ (alerts.alerts[0].icon, juce::MessageBoxIconType::NoIcon);
    EXPECT_EQ (alerts.alerts[0].title, "File /no/such/dir/pedal.syx not found");
    EXPECT_EQ (alerts.alerts[0].message, "A firmware file was specified, but it could not be found.\n The application will use the build-in firmware version.");
    EXPECT_EQ (alerts.alerts[1].title, "File  not found");
}
