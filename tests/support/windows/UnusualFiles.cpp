#include "support/UnusualFiles.h"

// Windows has no named pipe in its file system, and an administrator (which the test run
// under Wine is) may read any file.
juce::File UnusualFiles::makePipe (const juce::File&) { return {}; }
juce::File UnusualFiles::makeUnreadable (const juce::File&) { return {}; }
