#include <gtest/gtest.h>

#include "common/CommandLineOptions.h"

namespace
{
    juce::String utf8 (const char* text) { return juce::String (juce::CharPointer_UTF8 (text)); }

    //==============================================================================
    struct Case
    {
        const char* name;
        const char* commandLine;   // UTF-8
        bool hasFile;
        const char* fileName;      // UTF-8
        bool autoUpdate;
        int outputId;
        bool listOutputs = false;
    };

    std::ostream& operator<< (std::ostream& out, const Case& c) { return out << c.commandLine; }

    const Case cases[] = {
        { "Empty", "", false, "", false, 1 },
        { "AutoUpdate", "--autoupdate", false, "", true, 1 },
        { "AutoUpdateInCapitals", "--AUTOUPDATE", false, "", true, 1 },
        { "AutoUpdateMixedCaseWithOutput", "--AutoUpdate --outputid 3", false, "", true, 3 },
        { "LetterAfterIsNoMatch", "--autoupdates", false, "", false, 1 },
        { "LetterBeforeIsNoMatch", "x--autoupdate", false, "", false, 1 },
        { "DigitAfterIsNoMatch", "--autoupdate2", false, "", false, 1 },
        { "AnyWholeWordOccurrenceCounts", "--autoupdates --autoupdate", false, "", true, 1 },
        { "OutputReadOnlyWithAutoUpdate", "--outputid 4", false, "", false, 1 },
        { "OutputZeroBecomesOne", "--autoupdate --outputid 0", false, "", true, 1 },
        { "OutputNegativeBecomesOne", "--autoupdate --outputid -5", false, "", true, 1 },
        { "OutputNotANumberBecomesOne", "--autoupdate --outputid abc", false, "", true, 1 },
        { "OutputWithoutTrailingBlankIsNotFound", "--autoupdate --outputid2", false, "", true, 1 },
        { "OutputSkipsBlanksAndSign", "--autoupdate --outputid    +7", false, "", true, 7 },
        { "OutputSaturates", "--autoupdate --OUTPUTID 99999999999999999999", false, "", true, 2147483647 },
        { "InputIdHasNoEffect", "--autoupdate --inputid 5", false, "", true, 1 },
        { "OutputStopsAtTheFirstNonDigit", "--autoupdate --outputid 2 --file x.syx", true, "x.syx", true, 2 },
        { "WindowsPath", "--autoupdate --outputid 2 --file C:\\fw\\pedal.syx", true, "C:\\fw\\pedal.syx", true, 2 },
        { "FileTakesTheRestOfTheLine", "--file C:\\fw\\pedal.syx --autoupdate", true, "C:\\fw\\pedal.syx --autoupdate", true, 1 },
        { "UnquotedPathWithBlanksKeepsWorking", "--FILE   /tmp/a b.syx  ", true, "/tmp/a b.syx", false, 1 },
        { "FileWithNothingAfterIt", "--file", true, "", false, 1 },
        { "FileLetterAfterIsNoMatch", "--filex /a.syx", false, "", false, 1 },
        { "FileLetterBeforeIsNoMatch", "a--file /a.syx", false, "", false, 1 },
        { "PathFollowsTheFirstOccurrence", "--files --file /a.syx", true, "s --file /a.syx", false, 1 },

        // The quote rule: one quoted string after --file loses its quotes, nothing else does.
        { "QuotedPathLosesItsQuotes", "--inputid 3 --file \"/q d/f.syx\"", true, "/q d/f.syx", false, 1 },
        { "QuotedPathWithTrailingBlanks", "--autoupdate --file   \"/home/anna/My Pedal/p.syx\"  ", true, "/home/anna/My Pedal/p.syx", true, 1 },
        { "QuotedPathWithoutBlanks", "--file \"/tmp/p.syx\"", true, "/tmp/p.syx", false, 1 },
        { "QuotedEmptyPath", "--file \"\"", true, "", false, 1 },
        { "QuotedPathFollowedByMoreKeepsItsQuotes", "--file \"/a b/p.syx\" --autoupdate", true, "\"/a b/p.syx\" --autoupdate", true, 1 },
        { "TwoQuotedStringsKeepTheirQuotes", "--file \"/a\" \"b.syx\"", true, "\"/a\" \"b.syx\"", false, 1 },
        { "LoneQuoteIsKept", "--file \"", true, "\"", false, 1 },
        { "UnclosedQuoteIsKept", "--file \"/a b.syx", true, "\"/a b.syx", false, 1 },
        { "QuoteInsideAnUnquotedPathIsKept", "--file /a\"b\".syx", true, "/a\"b\".syx", false, 1 },

        // Non-ASCII text passes through the search unchanged.
        { "NonAsciiPath", "--file /home/anna/Pr\xc3\xbc" "fung/pedal.syx", true, "/home/anna/Pr\xc3\xbc" "fung/pedal.syx", false, 1 },
        { "NonAsciiQuotedPath", "--file \"/home/\xe3\x83\x9a\xe3\x83\x80\xe3\x83\xab/My P\xc3\xa9" "dal.syx\"", true, "/home/\xe3\x83\x9a\xe3\x83\x80\xe3\x83\xab/My P\xc3\xa9" "dal.syx", false, 1 },

        { "ListOutputs", "--list-outputs", false, "", false, 1, true },
        { "ListOutputsInCapitalsWithOthers", "--autoupdate --LIST-OUTPUTS", false, "", true, 1, true },
        { "ListOutputsLetterAfterIsNoMatch", "--list-outputsx", false, "", false, 1, false },
    };

    class CommandLineOptionsTable : public ::testing::TestWithParam<Case> {};
} // namespace

TEST_P (CommandLineOptionsTable, FindsWholeWordOptionsAndReadsTheirValues)
{
    const auto& c = GetParam();
    const auto options = CommandLineOptions::parse (utf8 (c.commandLine));

    EXPECT_EQ (options.hasFile, c.hasFile);
    EXPECT_EQ (options.fileName, utf8 (c.fileName));
    EXPECT_EQ (options.autoUpdate, c.autoUpdate);
    EXPECT_EQ (options.outputId, c.outputId);
    EXPECT_EQ (options.listOutputs, c.listOutputs);
}

INSTANTIATE_TEST_SUITE_P (CommandLineOptions, CommandLineOptionsTable, ::testing::ValuesIn (cases),
                          [] (const ::testing::TestParamInfo<Case>& info) { return std::string (info.param.name); });

//==============================================================================
namespace
{
    /** A program's arguments as the system hands them over (raw bytes), the command line
        they must become, and the firmware path that line then names. */
    struct ArgumentsCase
    {
        const char* name;
        std::vector<const char*> arguments;   // argv[1] onwards
        const char* commandLine;              // UTF-8
        const char* fileName;                 // UTF-8
    };

    std::ostream& operator<< (std::ostream& out, const ArgumentsCase& c) { return out << c.name; }

    const ArgumentsCase argumentCases[] = {
        { "NoArguments", {}, "", "" },
        { "Utf8PathIsDecoded",
          { "--file", "/home/anna/Pr\xc3\xbc" "fung/pedal.syx" },
          "--file /home/anna/Pr\xc3\xbc" "fung/pedal.syx",
          "/home/anna/Pr\xc3\xbc" "fung/pedal.syx" },
        { "FourByteCharactersAreDecoded",
          { "--autoupdate", "--file", "/tmp/\xf0\x9f\x8e\xb8/\xe3\x83\x9a\xe3\x83\x80\xe3\x83\xab.syx" },
          "--autoupdate --file /tmp/\xf0\x9f\x8e\xb8/\xe3\x83\x9a\xe3\x83\x80\xe3\x83\xab.syx",
          "/tmp/\xf0\x9f\x8e\xb8/\xe3\x83\x9a\xe3\x83\x80\xe3\x83\xab.syx" },
        { "ArgumentWithBlanksIsQuotedThenUnquoted",
          { "--autoupdate", "--outputid", "2", "--file", "/home/anna/My Pedal/Pr\xc3\xbc" "fung 2.syx" },
          "--autoupdate --outputid 2 --file \"/home/anna/My Pedal/Pr\xc3\xbc" "fung 2.syx\"",
          "/home/anna/My Pedal/Pr\xc3\xbc" "fung 2.syx" },
        { "ArgumentAlreadyInQuotesIsNotQuotedTwice",
          { "--file", "\"/home/anna/My Pedal/p.syx\"" },
          "--file \"/home/anna/My Pedal/p.syx\"",
          "/home/anna/My Pedal/p.syx" },
        { "InvalidUtf8IsTakenBytePerCharacter",
          { "--file", "/tmp/Pr\xfc" "fung.syx" },
          "--file /tmp/Pr\xc3\xbc" "fung.syx",
          "/tmp/Pr\xc3\xbc" "fung.syx" },
        { "TruncatedUtf8SequenceIsTakenBytePerCharacter",
          { "--file", "/tmp/a\xc3" },
          "--file /tmp/a\xc3\x83",
          "/tmp/a\xc3\x83" },
        // Found by the command-line fuzzer: an overlong NUL in an argument with a blank.
        { "OverlongFormIsTakenBytePerCharacter",
          { "\x01", "\xc0\x80 ", " " },
          "\x01 \"\xc3\x80\xc2\x80 \" \" \"",
          "" },
        { "SurrogateIsTakenBytePerCharacter",
          { "--file", "/tmp/\xed\xa0\x80.syx" },
          "--file /tmp/\xc3\xad\xc2\xa0\xc2\x80.syx",
          "/tmp/\xc3\xad\xc2\xa0\xc2\x80.syx" },
    };

    class CommandLineArguments : public ::testing::TestWithParam<ArgumentsCase> {};
} // namespace

TEST_P (CommandLineArguments, BecomeTheCommandLineAndItsPath)
{
    const auto& c = GetParam();
    std::vector<const char*> argv { "/usr/bin/Firmhold" };
    argv.insert (argv.end(), c.arguments.begin(), c.arguments.end());

    const auto commandLine = CommandLineOptions::fromArguments ((int) argv.size(), argv.data());

    EXPECT_EQ (commandLine, utf8 (c.commandLine));
    EXPECT_EQ (CommandLineOptions::parse (commandLine).fileName, utf8 (c.fileName));
}

INSTANTIATE_TEST_SUITE_P (CommandLineOptions, CommandLineArguments, ::testing::ValuesIn (argumentCases),
                          [] (const ::testing::TestParamInfo<ArgumentsCase>& info) { return std::string (info.param.name); });

TEST (CommandLineOptions, ReadsIntegersLikeTheCRuntime)
{
    EXPECT_EQ (CommandLineOptions::readLeadingInteger ("  42abc"), 42);
    EXPECT_EQ (CommandLineOptions::readLeadingInteger ("-3"), -3);
    EXPECT_EQ (CommandLineOptions::readLeadingInteger ("\t+8 9"), 8);
    EXPECT_EQ (CommandLineOptions::readLeadingInteger ("- 3"), 0);
    EXPECT_EQ (CommandLineOptions::readLeadingInteger (""), 0);
}

TEST (CommandLineOptions, UnattendedAnOutputNumberThatIsNotOneIsRefusedNotTakenAsPortOne)
{
    // Read as 1, these would send the firmware to whatever port the system lists first.
    const std::pair<const char*, bool> cases[] = {
        { "--autoupdate", true },                   // no --outputid at all: the first port
        { "--autoupdate --outputid 3", true },
        { "--autoupdate --outputid    +7", true },
        { "--autoupdate --outputid 0", false },
        { "--autoupdate --outputid -5", false },
        { "--autoupdate --outputid abc", false },
        { "--autoupdate --outputid=4", false },
        { "--autoupdate --outputid", false },
        { "--autoupdate --outputid2", false },
        { "--outputid 0", true },                    // read only with --autoupdate
    };

    for (const auto& [commandLine, valid] : cases)
        EXPECT_EQ (CommandLineOptions::parse (commandLine).outputIdValid, valid) << commandLine;
}
