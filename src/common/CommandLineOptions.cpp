#include "CommandLineOptions.h"

#include <cerrno>
#include <climits>
#include <cwchar>

bool CommandLineOptions::containsWholeWord (const juce::String& text, const juce::String& option)
{
    auto touches = [&text] (int index)
    {
        return index >= 0 && index < text.length()
               && juce::CharacterFunctions::isLetterOrDigit (text[index]);
    };

    for (int start = text.indexOfIgnoreCase (option); start >= 0;
         start = text.indexOfIgnoreCase (start + 1, option))
    {
        if (! touches (start - 1) && ! touches (start + option.length()))
            return true;
    }

    return false;
}

long CommandLineOptions::readLeadingInteger (const juce::String& text)
{
    // The wide-character conversion of the C runtime, including its leading-blank and sign
    // rules; errno is not consulted: an out-of-range value saturates and is clamped below.
    const std::wstring wide = text.toWideCharPointer();
    return std::wcstol (wide.c_str(), nullptr, 10);
}

CommandLineOptions CommandLineOptions::parse (const juce::String& commandLine)
{
    CommandLineOptions options;

    const juce::String fileOption ("--file");
    options.hasFile = containsWholeWord (commandLine, fileOption);

    if (options.hasFile)
        options.fileName = withoutEnclosingQuotes (commandLine.substring (commandLine.indexOfIgnoreCase (fileOption)
                                                                          + fileOption.length()).trim());

    options.autoUpdate = containsWholeWord (commandLine, "--autoupdate");
    options.listOutputs = containsWholeWord (commandLine, "--list-outputs");

    if (options.autoUpdate)
    {
        const juce::String outputOption ("--outputid ");
        const auto index = commandLine.indexOfIgnoreCase (outputOption);

        if (index >= 0)
        {
            const auto value = readLeadingInteger (commandLine.substring (index + outputOption.length()));
            options.outputId = (int) juce::jlimit (1L, (long) INT_MAX, value);
            options.outputIdValid = value >= 1;
        }

        // "--outputid=4", "--outputid2", "--outputid" at the end, "--outputid 0" or
        // "--outputid x" read as 1 and would send the firmware to whatever port comes first.
        if (index < 0 && commandLine.containsIgnoreCase ("--outputid"))
            options.outputIdValid = false;
    }

    return options;
}

juce::String CommandLineOptions::withoutEnclosingQuotes (const juce::String& text)
{
    // A launcher or script hands a path with blanks over as one argument, and the command
    // line then carries it in quotes. Anything less plain than one quoted string is left
    // alone, so an unquoted path reads exactly as it always did.
    const auto length = text.length();

    if (length >= 2 && text[0] == '"' && text[length - 1] == '"'
        && ! text.substring (1, length - 1).containsChar ('"'))
        return text.substring (1, length - 1);

    return text;
}

bool CommandLineOptions::isWellFormedUtf8 (const char* text)
{
    // RFC 3629's form, stricter than the framework's own test: that one lets overlong forms
    // (C0 80 for U+0000) and surrogates through, and the framework's strings then measure
    // and copy such text differently (a write past the end of their storage).
    const auto* bytes = reinterpret_cast<const unsigned char*> (text);

    while (*bytes != 0)
    {
        const auto lead = *bytes++;

        if (lead < 0x80)
            continue;

        int extra = 0;

        if (lead >= 0xc2 && lead <= 0xdf)
            extra = 1;
        else if (lead >= 0xe0 && lead <= 0xef)
            extra = 2;
        else if (lead >= 0xf0 && lead <= 0xf4)
            extra = 3;
        else
            return false;

        // The first continuation byte's range is narrower after these four leads: no overlong
        // form, no surrogate, nothing above U+10FFFF.
        const unsigned char low = lead == 0xe0 ? 0xa0 : (lead == 0xf0 ? 0x90 : 0x80);
        const unsigned char high = lead == 0xed ? 0x9f : (lead == 0xf4 ? 0x8f : 0xbf);

        for (int i = 0; i < extra; ++i, ++bytes)
        {
            const auto first = i == 0;

            if (*bytes < (first ? low : 0x80) || *bytes > (first ? high : 0xbf))
                return false;
        }
    }

    return true;
}

juce::String CommandLineOptions::fromArguments (int argc, const char* const* argv)
{
    juce::StringArray arguments;

    for (int i = 1; i < argc; ++i)
    {
        const char* const raw = argv[i];
        juce::String argument;

        if (isWellFormedUtf8 (raw))
        {
            argument = juce::String::fromUTF8 (raw);
        }
        else
        {
            for (auto* byte = raw; *byte != 0; ++byte)
                argument += juce::String::charToString ((juce::juce_wchar) (unsigned char) *byte);
        }

        // The same form the framework builds, so --file's quote rule holds everywhere.
        if (argument.containsChar (' ') && ! argument.isQuotedString())
            argument = argument.quoted ('"');

        arguments.add (argument);
    }

    return arguments.joinIntoString (" ").trim();
}
