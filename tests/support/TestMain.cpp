#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#if JUCE_LINUX
 #include <dlfcn.h>
#endif

namespace
{
    juce::JUCEApplicationBase* noApplication() { return nullptr; }
} // namespace

// The framework's message manager lives on this (the main) thread for the whole run, so
// component tests can build windows and pump the message loop.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    // Marks the process as a standalone app, as START_JUCE_APPLICATION does for Firmhold, so
    // that the X11 layer is set up the same way (thread support, its own X error handlers).
    juce::JUCEApplicationBase::createInstance = &noApplication;

   #if JUCE_LINUX
    // Xlib keeps a few input-method buffers for the life of the process. The framework loads
    // and unloads it at run time; keeping it mapped lets LeakSanitizer name it, and
    // tests/lsan.supp then leaves those buffers out of the leak report.
    dlopen ("libX11.so.6", RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
   #endif

    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
