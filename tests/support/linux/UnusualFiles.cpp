#include "support/UnusualFiles.h"
#include "support/PedalImage.h"

#include <sys/stat.h>
#include <unistd.h>

juce::File UnusualFiles::makePipe (const juce::File& dir)
{
    auto f = dir.getChildFile ("pipe.syx");
    mkfifo (f.getFullPathName().toRawUTF8(), 0600);
    return f;
}

juce::File UnusualFiles::makeUnreadable (const juce::File& dir)
{
    // Root reads any mode-000 file, but not a write-only sysctl: its permission check
    // leaves root out.
    if (geteuid() == 0)
        return juce::File ("/proc/sys/vm/drop_caches");

    auto f = dir.getChildFile ("locked.syx");
    const auto image = PedalImage::make (1, 1);   // only its mode keeps it from loading
    f.replaceWithData (image.data(), image.size());
    chmod (f.getFullPathName().toRawUTF8(), 0);
    return f;
}
