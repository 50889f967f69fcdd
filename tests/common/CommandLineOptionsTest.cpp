#include <gtest/gtest.h>

#include "common/CommandLineOptions.h"

namespace
{
    struct Case
    {
        const char* commandLine;
        bool hasFile;
        const char* fileName;
        bool autoUpdate;
        int outputId;
    };

    const Case cases[] = {
        { "", false, "", false, 1 },
        { "--autoupdate", false, "", true, 1 },
        { "--AUTOUPDATE", false, "", true, 1 },
        { "--AutoUpdate --outputid 3", false, "", true, 3 },
        { "--autoupdates", false, "", false, 1 },
        { "x--autoupdate", false, "", false, 1 },
        { "--autoupdate2", false, "", false, 1 },
        { "--autoupdates --autoupdate", false, "", true, 1 },   // any whole-word occurrence counts
        { "--outputid 4", false, "", false, 1 },                // read only with --autoupdate
        { "--autoupdate --outputid 0", false, "", true, 1 },
        { "--autoupdate --outputid -5", false, "", true, 1 },
        { "--autoupdate --outputid abc", false, "", true, 1 },
        { "--autoupdate --outputid2", false, "", true, 1 },     // no trailing blank: not found
        { "--autoupdate --outputid    +7", false, "", true, 7 },
        { "--autoupdate --OUTPUTID 99999999999999999999", false, "", true, 2147483647 },
        { "--autoupdate --inputid 5", false, "", true, 1 },
        { "--autoupdate --outputid 2 --file x.syx", true, "x.syx", true, 2 },
        { "--autoupdate --outputid 2 --file C:\\fw\\pedal.syx", true, "C:\\fw\\pedal.syx", true, 2 },
        { "--file C:\\fw\\pedal.syx --autoupdate", true, "C:\\fw\\pedal.syx --autoupdate", true, 1 },
        { "--FILE   /tmp/a b.syx  ", true, "/tmp/a b.syx", false, 1 },
        { "--file", true, "", false, 1 },
        { "--filex /a.syx", false, "", false, 1 },
        { "a--file /a.syx", false, "", false, 1 },
        { "--files --file /a.syx", true, "s --file /a.syx", false, 1 },  // the path follows the first occurrence
        { "--inputid 3 --file \"/q d/f.syx\"", true, "\"/q d/f.syx\"", false, 1 },
    };
} // namespace

TEST (CommandLineOptions, FindsWholeWordOptionsAndReadsTheirValues)
{
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.commandLine);
        const auto options = CommandLineOptions::parse (juce::String (juce::CharPointer_UTF8 (c.commandLine)));
        EXPECT_EQ (options.hasFile, c.hasFile);
        EXPECT_EQ (options.fileName, juce::String (c.fileName));
        EXPECT_EQ (options.autoUpdate, c.autoUpdate);
        EXPECT_EQ (options.outputId, c.outputId);
    }
}

TEST (CommandLineOptions, ReadsIntegersLikeTheCRuntime)
{
    EXPECT_EQ (CommandLineOptions::readLeadingInteger ("  42abc"), 42);
    EXPECT_EQ (CommandLineOptions::readLeadingInteger ("-3"), -3);
    EXPECT_EQ (CommandLineOptions::readLeadingInteger ("\t+8 9"), 8);
    EXPECT_EQ (CommandLineOptions::readLeadingInteger ("- 3"), 0);
    EXPECT_EQ (CommandLineOptions::readLeadingInteger (""), 0);
}
