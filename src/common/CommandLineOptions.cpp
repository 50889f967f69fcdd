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
        options.fileName = commandLine.substring (commandLine.indexOfIgnoreCase (fileOption) + fileOption.length()).trim();

    options.autoUpdate = containsWholeWord (commandLine, "--autoupdate");

    if (options.autoUpdate)
    {
        const juce::String outputOption ("--outputid ");
        const auto index = commandLine.indexOfIgnoreCase (outputOption);

        if (index >= 0)
        {
            const auto value = readLeadingInteger (commandLine.substring (index + outputOption.length()));
            options.outputId = (int) juce::jlimit (1L, (long) INT_MAX, value);
        }
    }

    return options;
}
