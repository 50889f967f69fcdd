// Feeds arbitrary text to the command-line reader, the way it reaches the program: as the
// process's arguments on Linux (the bytes split at NUL, any of them not valid UTF-8), and
// as the wide command line Windows hands over (the bytes as UTF-16 units, unpaired
// surrogates and all). Besides what the sanitizers catch, the reader's promises are
// checked on every input.

#include "common/CommandLineOptions.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace
{
    void require (bool condition)
    {
        if (! condition)
            std::abort();
    }

    void checkPromises (const juce::String& line)
    {
        const auto options = CommandLineOptions::parse (line);

        require (options.outputId >= 1);
        require (options.hasFile == CommandLineOptions::containsWholeWord (line, "--file"));
        require (options.autoUpdate == CommandLineOptions::containsWholeWord (line, "--autoupdate"));
        require (options.hasFile || options.fileName.isEmpty());
        require (line.contains (options.fileName));
        require (options.autoUpdate || (options.outputId == 1 && options.outputIdValid));

        // The same line read twice says the same.
        const auto again = CommandLineOptions::parse (line);
        require (again.fileName == options.fileName && again.outputId == options.outputId
                 && again.outputIdValid == options.outputIdValid && again.listOutputs == options.listOutputs);
    }
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments { "Firmhold" };
    std::string current;

    for (std::size_t i = 0; i < size; ++i)
    {
        if (data[i] == 0)
        {
            arguments.push_back (current);
            current.clear();
        }
        else
        {
            current += (char) data[i];
        }
    }

    arguments.push_back (current);

    std::vector<const char*> argv;
    for (const auto& argument : arguments)
        argv.push_back (argument.c_str());

    const auto line = CommandLineOptions::fromArguments ((int) argv.size(), argv.data());

    // Whatever bytes came in, the line is text that survives a UTF-8 round trip, so what
    // it shows (a path in a message) is what the user typed, never a cut character.
    require (juce::String::fromUTF8 (line.toRawUTF8()) == line);
    require (line == line.trim());
    checkPromises (line);

    std::u16string units;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        if (const auto unit = (char16_t) (data[i] | (data[i + 1] << 8)); unit != 0)
            units += unit;

    checkPromises (juce::String (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (units.c_str()))));
    return 0;
}
